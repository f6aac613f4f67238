#include "shell/dialogs/CTagIOForm.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <limits>

#include "shell/HelpViewer.h"
#include "shell/Prompter.h"

namespace vantaro {

namespace {

const QChar Quote = QLatin1Char('"');

// Blanks and control characters do not count as content.
bool IsBlank(const QString& text) {
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() <= 32; });
}

void AddLabel(QWidget* parent, const char* name, const QString& caption, int left) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    label->move(left, 8);
    label->adjustSize();
}

QPushButton* AddButton(QWidget* parent, const char* name, const QString& caption, int left) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(left, 54, 75, 25);
    return button;
}

}  // namespace

TTagIOForm::TTagIOForm(QWidget* owner)
    : QDialog(owner, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("TagIOForm"));
    setWindowTitle(QStringLiteral(" Tags to ignore"));
    setFixedSize(300, 86);
    move(257, 295);

    AddLabel(this, "Label1", QStringLiteral("Language"), 8);
    AddLabel(this, "Label2", QStringLiteral("Open"), 148);
    AddLabel(this, "Label3", QStringLiteral("Close"), 224);
    languageEdit_ = AddEdit("LanguageEdit", 8, 132);
    openEdit_ = AddEdit("OpenEdit", 148, 68);
    closeEdit_ = AddEdit("CloseEdit", 224, 68);
    okButton_ = AddButton(this, "OKButton", QStringLiteral("OK"), 134);
    cancelButton_ = AddButton(this, "CancelButton", QStringLiteral("Cancel"), 217);
    okButton_->setDefault(true);

    connect(okButton_, &QPushButton::clicked, this, &TTagIOForm::accept);
    connect(cancelButton_, &QPushButton::clicked, this, &TTagIOForm::reject);
    languageEdit_->setFocus();
}

QLineEdit* TTagIOForm::AddEdit(const char* name, int left, int width) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QLatin1String(name));
    edit->setGeometry(left, 24, width, 21);
    edit->setMaxLength(std::numeric_limits<int>::max());
    edit->installEventFilter(this);
    connect(edit, &QLineEdit::textEdited, this, [this, edit] { StripPastedQuotes(*edit); });
    return edit;
}

void TTagIOForm::SetCaptionPrefix(const QString& prefix) {
    setWindowTitle(prefix + QStringLiteral(" Tags to ignore"));
}

void TTagIOForm::SetHelpContext(int helpContext) {
    vantaro::SetHelpContext(*this, helpContext);
}

int TTagIOForm::HelpContext() const {
    return HelpContextOf(*this);
}

void TTagIOForm::SetTexts(const QString& language, const QString& open, const QString& close) {
    languageEdit_->setText(language);
    openEdit_->setText(open);
    closeEdit_->setText(close);
}

QString TTagIOForm::LanguageText() const {
    return languageEdit_->text();
}

QString TTagIOForm::OpenText() const {
    return openEdit_->text();
}

QString TTagIOForm::CloseText() const {
    return closeEdit_->text();
}

bool TTagIOForm::FormCloseQuery() {
    struct Check {
        QLineEdit* edit;
        QString message;
    };
    const Check checks[] = {
        {languageEdit_, QStringLiteral("Missing Language description.")},
        {openEdit_, QStringLiteral("Missing Tag Open specifier.")},
        {closeEdit_, QStringLiteral("Missing Tag Close specifier.")},
    };
    for (const Check& check : checks) {
        if (IsBlank(check.edit->text())) {
            CurrentPrompter().Ask(this, {.kind = Prompter::Kind::Warning,
                                         .title = QStringLiteral("Warning"),
                                         .text = check.message,
                                         .buttons = Prompter::Ok,
                                         .defaultButton = Prompter::Ok,
                                         .escapeButton = Prompter::Ok,
                                         .helpContext = 0});
            check.edit->setFocus();
            return false;
        }
    }
    return true;
}

void TTagIOForm::accept() {
    if (FormCloseQuery()) {
        QDialog::accept();
    }
}

bool TTagIOForm::eventFilter(QObject* watched, QEvent* event) {
    const bool isEdit = watched == languageEdit_ || watched == openEdit_ || watched == closeEdit_;
    if (isEdit && event->type() == QEvent::KeyPress &&
        LanguageEditKeyPress(static_cast<QKeyEvent*>(event)->text())) {
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool TTagIOForm::LanguageEditKeyPress(const QString& typed) {
    if (!typed.contains(Quote)) {
        return false;
    }
    CurrentPrompter().Beep();
    return true;
}

// Quotes can also arrive by paste, drop or an input method; they are taken out the same way.
void TTagIOForm::StripPastedQuotes(QLineEdit& edit) {
    QString text = edit.text();
    if (!text.contains(Quote)) {
        return;
    }
    const int cursor = edit.cursorPosition();
    const auto quotesBefore = static_cast<int>(text.left(cursor).count(Quote));
    text.remove(Quote);
    edit.setText(text);
    edit.setCursorPosition(cursor - quotesBefore);
    CurrentPrompter().Beep();
}

}  // namespace vantaro
