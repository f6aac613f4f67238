#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "ScriptedPrompter.h"
#include "shell/Prompter.h"
#include "support/TempDir.h"

namespace vantaro {
namespace {

// Runs `play` on the modal dialog the real prompter is about to show.
void WhenModal(std::function<void(QWidget&)> play) {
    QTimer::singleShot(0, [play = std::move(play)] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        play(*modal);
    });
}

TEST(Prompter, YesNoBoxesDefaultToYesAndEscapeAnswersNo) {
    WhenModal([](QWidget& widget) {
        auto& box = dynamic_cast<QMessageBox&>(widget);
        EXPECT_EQ(box.windowTitle(), "Confirm");
        EXPECT_EQ(box.text(), "Clear?");
        EXPECT_EQ(box.icon(), QMessageBox::Question);
        EXPECT_EQ(box.standardButtons(), QMessageBox::Yes | QMessageBox::No);
        EXPECT_EQ(box.defaultButton(), box.button(QMessageBox::Yes));
        QTest::keyClick(&box, Qt::Key_Escape);
    });
    EXPECT_EQ(AskYesNo(nullptr, Prompter::Kind::Confirmation, "Confirm", "Clear?", 10000130),
              Prompter::No);

    WhenModal([](QWidget& widget) { QTest::keyClick(&widget, Qt::Key_Return); });
    EXPECT_EQ(AskYesNo(nullptr, Prompter::Kind::Warning, "Warning", "Go on?"), Prompter::Yes);
}

TEST(Prompter, ErrorsAreShownWithTheErrorIconAndOk) {
    WhenModal([](QWidget& widget) {
        auto& box = dynamic_cast<QMessageBox&>(widget);
        EXPECT_EQ(box.windowTitle(), "Error");
        EXPECT_EQ(box.text(), "Cannot open file x");
        EXPECT_EQ(box.icon(), QMessageBox::Critical);
        EXPECT_EQ(box.standardButtons(), QMessageBox::Ok);
        box.button(QMessageBox::Ok)->click();
    });
    ShowError(nullptr, "Cannot open file x");
}

TEST(Prompter, AMessageWithoutTitleCarriesTheApplicationsName) {
    QGuiApplication::setApplicationDisplayName("Vantaro");
    Prompter::Message message;
    message.text = "Note";
    WhenModal([](QWidget& widget) {
        EXPECT_EQ(widget.windowTitle(), "Vantaro");
        QTest::keyClick(&widget, Qt::Key_Escape);
    });
    EXPECT_EQ(CurrentPrompter().Ask(nullptr, message), Prompter::Ok);
}

TEST(Prompter, DialogsRunModallyAndReturnTheirResult) {
    QDialog dialog;
    WhenModal([](QWidget& widget) { dynamic_cast<QDialog&>(widget).done(42); });
    EXPECT_EQ(CurrentPrompter().Exec(dialog), 42);
}

TEST(Prompter, FileDialogsUseTheFilterAndAddTheDefaultSuffix) {
    test::TempDir dir;
    const QString existing = QString::fromStdString(dir.Write("old.vtl", "x"));
    Prompter::FileRequest request;
    request.filter = "Log Files (*.vtl)";
    request.defaultSuffix = "vtl";
    request.initialPath = existing;

    WhenModal([](QWidget& widget) {
        auto& dialog = dynamic_cast<QFileDialog&>(widget);
        EXPECT_EQ(dialog.nameFilters(), QStringList{"Log Files (*.vtl)"});
        EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
        EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptOpen);
        static_cast<QDialog&>(dialog).accept();  // as the Open or Save button does
    });
    EXPECT_EQ(CurrentPrompter().OpenFileName(nullptr, request), existing);

    request.initialPath = QString::fromStdString(dir.File("new"));
    WhenModal([](QWidget& widget) {
        auto& dialog = dynamic_cast<QFileDialog&>(widget);
        EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
        EXPECT_FALSE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
        static_cast<QDialog&>(dialog).accept();  // as the Open or Save button does
    });
    EXPECT_EQ(CurrentPrompter().SaveFileName(nullptr, request),
              QString::fromStdString(dir.File("new.vtl")));

    WhenModal([](QWidget& widget) { dynamic_cast<QFileDialog&>(widget).reject(); });
    EXPECT_TRUE(CurrentPrompter().SaveFileName(nullptr, request).isEmpty());
}

TEST(Prompter, ATestsPrompterStandsInUntilItGoes) {
    Prompter& real = CurrentPrompter();
    {
        test::ScriptedPrompter scripted;
        EXPECT_EQ(&CurrentPrompter(), &scripted);
        scripted.answers = {Prompter::Yes};
        EXPECT_EQ(AskYesNo(nullptr, Prompter::Kind::Confirmation, "Confirm", "Sure?", 7),
                  Prompter::Yes);
        // Once the script runs out, a box is answered as Esc would answer it.
        EXPECT_EQ(AskYesNo(nullptr, Prompter::Kind::Confirmation, "Confirm", "Sure?"),
                  Prompter::No);
        ShowError(nullptr, "Oops");
        ASSERT_EQ(scripted.messages.size(), 3u);
        EXPECT_EQ(scripted.messages[0].helpContext, 7);
        EXPECT_EQ(scripted.messages[2].title, "Error");
        EXPECT_EQ(scripted.messages[2].kind, Prompter::Kind::Error);
        EXPECT_EQ(scripted.messages[2].buttons, unsigned{Prompter::Ok});

        QDialog dialog;
        EXPECT_EQ(scripted.Exec(dialog), QDialog::Rejected);
        scripted.onExec = [](QDialog&) { return 7; };
        EXPECT_EQ(scripted.Exec(dialog), 7);
        EXPECT_EQ(scripted.dialogs, (std::vector<QString>{"QDialog", "QDialog"}));
    }
    EXPECT_EQ(&CurrentPrompter(), &real);
    Prompter* previous = SetPrompter(nullptr);
    EXPECT_EQ(previous, &real);
    EXPECT_EQ(&CurrentPrompter(), &real);
}

}  // namespace
}  // namespace vantaro
