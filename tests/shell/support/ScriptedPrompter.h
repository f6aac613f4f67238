#pragma once

#include <QString>
#include <deque>
#include <functional>
#include <vector>

#include "shell/Prompter.h"

namespace vantaro::test {

// A Prompter for widget tests: it answers from queues filled by the test, records everything it
// was asked and never blocks. It installs itself for its lifetime and puts the previous prompter
// back when it goes.
class ScriptedPrompter : public Prompter {
  public:
    ScriptedPrompter();
    ~ScriptedPrompter() override;
    ScriptedPrompter(const ScriptedPrompter&) = delete;
    ScriptedPrompter& operator=(const ScriptedPrompter&) = delete;

    Button Ask(QWidget* parent, const Message& message) override;
    int Exec(QDialog& dialog) override;
    QString OpenFileName(QWidget* parent, const FileRequest& request) override;
    QString SaveFileName(QWidget* parent, const FileRequest& request) override;
    bool ChoosePrinter(QWidget* parent, QPrinter& printer) override;
    void Beep() override;

    // Answers, used front first. When a queue runs out: a message box is answered with its
    // escape button, as if Esc were pressed, and a file dialog is cancelled.
    std::deque<Button> answers;
    std::deque<QString> openNames;  // an empty name cancels the dialog
    std::deque<QString> saveNames;
    // Runs a modal dialog in place of exec(): it may fill the dialog's fields and returns the
    // dialog's result. Unset: the dialog is rejected without being touched.
    std::function<int(QDialog&)> onExec;
    // Plays the print dialog: it may set up the printer (e.g. a PDF file) and returns whether the
    // user chose to print. Unset: the dialog is cancelled.
    std::function<bool(QPrinter&)> onChoosePrinter;

    // What was asked, in order.
    std::vector<Message> messages;
    std::vector<FileRequest> openRequests;
    std::vector<FileRequest> saveRequests;
    std::vector<QString> dialogs;  // the class name of each dialog run
    int printDialogs = 0;
    int beeps = 0;

  private:
    Prompter* previous_;
};

}  // namespace vantaro::test
