#include "shell/Prompter.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

namespace vantaro {
namespace {

QMessageBox::Icon IconOf(Prompter::Kind kind) {
    switch (kind) {
        case Prompter::Kind::Error:
            return QMessageBox::Critical;
        case Prompter::Kind::Warning:
            return QMessageBox::Warning;
        case Prompter::Kind::Information:
            return QMessageBox::Information;
        case Prompter::Kind::Confirmation:
            return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

constexpr struct {
    Prompter::Button button;
    QMessageBox::StandardButton standard;
} kButtons[] = {
    {Prompter::Ok, QMessageBox::Ok},
    {Prompter::Cancel, QMessageBox::Cancel},
    {Prompter::Yes, QMessageBox::Yes},
    {Prompter::No, QMessageBox::No},
};

QMessageBox::StandardButton StandardOf(Prompter::Button button) {
    for (const auto& each : kButtons) {
        if (each.button == button) {
            return each.standard;
        }
    }
    return QMessageBox::NoButton;
}

QString TitleOf(const QString& title) {
    return title.isEmpty() ? QGuiApplication::applicationDisplayName() : title;
}

// Shows Qt's own dialogs, modal to the given parent.
class QtPrompter final : public Prompter {
  public:
    Button Ask(QWidget* parent, const Message& message) override {
        QMessageBox box(IconOf(message.kind), TitleOf(message.title), message.text,
                        QMessageBox::NoButton, parent);
        for (const auto& each : kButtons) {
            if ((message.buttons & each.button) != 0) {
                box.addButton(each.standard);
            }
        }
        if (QAbstractButton* chosen = box.button(StandardOf(message.defaultButton))) {
            box.setDefaultButton(qobject_cast<QPushButton*>(chosen));
        }
        if (QAbstractButton* escape = box.button(StandardOf(message.escapeButton))) {
            box.setEscapeButton(escape);
        }
        box.exec();
        const QMessageBox::StandardButton answer = box.standardButton(box.clickedButton());
        for (const auto& each : kButtons) {
            if (each.standard == answer) {
                return each.button;
            }
        }
        return message.escapeButton;
    }

    int Exec(QDialog& dialog) override { return dialog.exec(); }

    QString OpenFileName(QWidget* parent, const FileRequest& request) override {
        QFileDialog dialog(parent, request.title, QString(), request.filter);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        return Run(dialog, request);
    }

    QString SaveFileName(QWidget* parent, const FileRequest& request) override {
        QFileDialog dialog(parent, request.title, QString(), request.filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);  // asks before replacing a file
        return Run(dialog, request);
    }

    bool ChoosePrinter(QWidget* parent, QPrinter& printer) override {
        QPrintDialog dialog(&printer, parent);
        return dialog.exec() == QDialog::Accepted;
    }

    void Beep() override { QApplication::beep(); }

  private:
    static QString Run(QFileDialog& dialog, const FileRequest& request) {
        dialog.setDefaultSuffix(request.defaultSuffix);
        if (!request.initialPath.isEmpty()) {
            dialog.selectFile(request.initialPath);
        }
        if (dialog.exec() != QDialog::Accepted) {
            return {};
        }
        return dialog.selectedFiles().value(0);
    }
};

QtPrompter& RealPrompter() {
    static QtPrompter prompter;
    return prompter;
}

Prompter* installedPrompter = nullptr;  // a test's; none: the real one

}  // namespace

Prompter& CurrentPrompter() {
    return installedPrompter != nullptr ? *installedPrompter : RealPrompter();
}

Prompter* SetPrompter(Prompter* prompter) {
    Prompter* previous = &CurrentPrompter();
    installedPrompter = prompter;
    return previous;
}

Prompter::Button AskYesNo(QWidget* parent, Prompter::Kind kind, const QString& title,
                          const QString& text, int helpContext) {
    Prompter::Message message;
    message.kind = kind;
    message.title = title;
    message.text = text;
    message.buttons = Prompter::Yes | Prompter::No;
    message.defaultButton = Prompter::Yes;
    message.escapeButton = Prompter::No;
    message.helpContext = helpContext;
    return CurrentPrompter().Ask(parent, message);
}

void ShowError(QWidget* parent, const QString& text) {
    Prompter::Message message;
    message.kind = Prompter::Kind::Error;
    message.title = QStringLiteral("Error");
    message.text = text;
    CurrentPrompter().Ask(parent, message);
}

}  // namespace vantaro
