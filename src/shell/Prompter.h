#pragma once

#include <QString>
#include <QStringList>

class QDialog;
class QWidget;
class QPrinter;

namespace vantaro {

// Every message box, modal dialog, file dialog and print dialog of the program goes through
// the one current Prompter, so tests can answer them without anything blocking.
class Prompter {
  public:
    enum class Kind { Error, Warning, Information, Confirmation };
    enum Button : unsigned { NoButton = 0, Ok = 1, Cancel = 2, Yes = 4, No = 8 };

    struct Message {
        Kind kind = Kind::Information;
        QString title;  // "Error", "Warning", "Confirm", ... (empty: the application's title)
        QString text;
        unsigned buttons = Ok;
        Button defaultButton = Ok;
        Button escapeButton = Ok;
        int helpContext = 0;  // 0: no help button
    };

    struct FileRequest {
        QString title;
        QString filter;         // e.g. "Log Files (*.vtl)"
        QString defaultSuffix;  // e.g. "vtl"
        QString initialPath;    // the last chosen file, remembered by the caller
    };

    virtual ~Prompter() = default;

    // Shows a message box and returns the button that answered it.
    virtual Button Ask(QWidget* parent, const Message& message) = 0;
    // Runs a modal dialog and returns its result (QDialog::Accepted, QDialog::Rejected or the
    // value the dialog ended with).
    virtual int Exec(QDialog& dialog) = 0;
    // File dialogs; an empty result means the user cancelled.
    virtual QString OpenFileName(QWidget* parent, const FileRequest& request) = 0;
    virtual QString SaveFileName(QWidget* parent, const FileRequest& request) = 0;
    // The platform's print dialog; false when the user cancelled.
    virtual bool ChoosePrinter(QWidget* parent, QPrinter& printer) = 0;
    // The system's information sound.
    virtual void Beep() = 0;
};

// The prompter everything uses; a real one that shows Qt dialogs until a test installs another.
Prompter& CurrentPrompter();
// Installs a prompter (not owned) and returns the previous one; nullptr restores the real one.
Prompter* SetPrompter(Prompter* prompter);

// Shorthands for the message boxes the program shows.
Prompter::Button AskYesNo(QWidget* parent, Prompter::Kind kind, const QString& title,
                          const QString& text, int helpContext = 0);
void ShowError(QWidget* parent, const QString& text);

}  // namespace vantaro
