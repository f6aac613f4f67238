#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QByteArray>
#include <QTest>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "MainWindowProbe.h"
#include "ScriptedPrompter.h"
#include "settings/CINI.h"
#include "shell/CMainForm.h"
#include "support/TempDir.h"

namespace vantaro::test {

// Each window test runs with its own home and configuration folders, so the window reads and
// writes its settings there and never in the user's own.
class MainWindowTest : public testing::Test {
  protected:
    MainWindowTest() {
        std::filesystem::create_directories(dir.File("home"));
        SetVariable("XDG_CONFIG_HOME", dir.File("config"), savedConfig_);
        SetVariable("HOME", dir.File("home"), savedHome_);
    }

    ~MainWindowTest() override {
        window.reset();  // saves its settings into this test's folders
        RestoreVariable("XDG_CONFIG_HOME", savedConfig_);
        RestoreVariable("HOME", savedHome_);
    }

    std::string IniFile() const { return dir.File("config/Corvell/Vantaro/App.ini"); }

    void WriteIni(const std::string& section, const std::string& key, const std::string& value) {
        IniWriteString(IniFile(), section, key, value, true);
    }
    std::string ReadIni(const std::string& key, const std::string& section = "MainForm") const {
        return IniReadString(IniFile(), section, key, "<absent>", false);
    }

    // A window created as the program creates it, not shown; ui reaches its components.
    template <typename Form = TMainForm>
    Form& Create() {
        auto form = std::make_unique<Form>();
        Form& created = *form;
        window = std::move(form);
        ui = MainWindowProbe(created);
        return created;
    }

    // A window shown at a given size, with everything that showing it set off done.
    template <typename Form = TMainForm>
    Form& CreateShown(QSize size = QSize(1000, 700)) {
        Form& form = Create<Form>();
        form.resize(size);
        form.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
        Settle();
        return form;
    }

    void Destroy() {
        window.reset();
        ui = MainWindowProbe();
    }

    // Lists pages of these names (written empty into a folder of the test) in the file list.
    void ListPages(TMainForm& form, std::initializer_list<const char*> names) {
        std::vector<std::pair<std::string, std::string>> pages;
        for (const char* name : names) {
            pages.emplace_back(name, "");
        }
        ListSite(form, pages);
    }

    // Writes the pages (name, content) into a folder of the test and lists them.
    void ListSite(TMainForm& form, const std::vector<std::pair<std::string, std::string>>& pages) {
        std::filesystem::create_directories(dir.File("pages"));
        for (const auto& [name, content] : pages) {
            dir.Write("pages/" + name, content);
        }
        form.CurrentFolder = dir.File("pages/");
        MainWindowProbe(form).FilesListView()->ListFolderFiles(
            QString::fromStdString(form.CurrentFolder), form.OtherFileFormats);
        Settle();
    }

    static void Settle() {
        for (int i = 0; i < 3; ++i) {
            QApplication::processEvents();
            QApplication::sendPostedEvents();
        }
    }

    TempDir dir;
    ScriptedPrompter prompter;  // outlives the window, which may still ask when it goes
    std::unique_ptr<TMainForm> window;
    MainWindowProbe ui;

  private:
    static void SetVariable(const char* name, const std::string& value,
                            std::optional<QByteArray>& saved) {
        if (qEnvironmentVariableIsSet(name)) {
            saved = qgetenv(name);
        }
        qputenv(name, QByteArray::fromStdString(value));
    }
    static void RestoreVariable(const char* name, const std::optional<QByteArray>& saved) {
        if (saved) {
            qputenv(name, *saved);
        } else {
            qunsetenv(name);
        }
    }

    std::optional<QByteArray> savedConfig_;
    std::optional<QByteArray> savedHome_;
};

}  // namespace vantaro::test
