#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace vantaro {

// The small dialog in which one language row is typed: a description and the two delimiters
// that open and close the regions to skip. It refuses empty fields and double quotes and hands
// the texts back exactly as typed.
class TTagIOForm : public QDialog {
    Q_OBJECT

  public:
    explicit TTagIOForm(QWidget* owner = nullptr);

    // " Add" or " Edit": the caption becomes the prefix followed by " Tags to ignore".
    void SetCaptionPrefix(const QString& prefix);
    void SetHelpContext(int helpContext);
    int HelpContext() const;

    void SetTexts(const QString& language, const QString& open, const QString& close);
    QString LanguageText() const;
    QString OpenText() const;
    QString CloseText() const;

    // Decides whether OK may close the dialog: warns about the first empty field and focuses it.
    bool FormCloseQuery();

  public slots:
    void accept() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLineEdit* AddEdit(const char* name, int left, int width);
    // Key filter of the three edits: true when the typed text must be discarded.
    bool LanguageEditKeyPress(const QString& typed);
    void StripPastedQuotes(QLineEdit& edit);

    QLineEdit* languageEdit_ = nullptr;
    QLineEdit* openEdit_ = nullptr;
    QLineEdit* closeEdit_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

}  // namespace vantaro
