#pragma once

#include <QAction>
#include <QList>
#include <QObject>
#include <initializer_list>
#include <stdexcept>
#include <string>

#include "shell/CMainForm.h"
#include "shell/FileListView.h"
#include "shell/ProgressGauge.h"
#include "shell/log/LogView.h"
#include "shell/references/ReferenceListBoxes.h"

namespace vantaro::test {

// The tests' way into the main window's components. Each is found by its designer name, its
// objectName, which must name exactly one object of the type asked for: a missing or doubled
// name fails the test that asks for it (as an exception, so the test goes on to the next).
class MainWindowProbe {
  public:
    MainWindowProbe() = default;
    explicit MainWindowProbe(const TMainForm& window) : window_(&window) {}

    template <typename T = QWidget>
    T* Find(const char* name) const {
        if (window_ == nullptr) {
            throw std::logic_error("no window to look in");
        }
        const QList<T*> found = window_->findChildren<T*>(QLatin1String(name));
        if (found.size() != 1) {
            throw std::logic_error(std::to_string(found.size()) + " components named " + name);
        }
        return found.front();
    }

    QAction* Action(const char* name) const { return Find<QAction>(name); }
    QList<QAction*> Actions(std::initializer_list<const char*> names) const {
        QList<QAction*> actions;
        for (const char* name : names) {
            actions.append(Action(name));
        }
        return actions;
    }

    // The components most tests work with.
    TLogView* LogRichEdit() const { return Find<TLogView>("LogRichEdit"); }
    TFileListView* FilesListView() const { return Find<TFileListView>("FilesListView"); }
    TProgressGauge* ProgressGauge() const { return Find<TProgressGauge>("ProgressGauge"); }
    TReferenceListBox* RefImagesListBox() const {
        return Find<TReferenceListBox>("RefImagesListBox");
    }
    TReferenceListBox* IgnoreImagesListBox() const {
        return Find<TReferenceListBox>("IgnoreImagesListBox");
    }

  private:
    const TMainForm* window_ = nullptr;
};

}  // namespace vantaro::test
