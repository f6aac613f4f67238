#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <cstddef>
#include <functional>
#include <vector>

#include "log/LogRun.h"

class QAction;
class QWidget;

namespace vantaro {

class TLogView;

// The five commands of the log toolbar and Log menu (open, save, print, copy, clear) and the
// enabling of Copy and Clear. The main window owns one, binds its buttons and menu items to the
// handlers and registers the actions whose enabled state follows Copy and Clear. Every handler
// does nothing while a run is in progress.
class TLogCommands : public QObject {
    Q_OBJECT

  public:
    // What the commands need from the main window.
    struct Hooks {
        std::function<bool()> isProcessing;        // Processing
        std::function<bool()> showClearLogPrompt;  // ShowClearLogPrompt
        std::function<void()> resetProgress;       // progress label off, gauge at 0 without text
        // How much of a long log being opened is in (runs done of total); (0, 0) when all is.
        std::function<void(std::size_t done, std::size_t total)> loadProgress;
    };

    TLogCommands(TLogView& view, Hooks hooks, QObject* parent = nullptr);

    void OpenLogToolButtonClick();
    void SaveLogToolButtonClick();
    void PrintLogToolButtonClick();
    void CopyToolButtonClick();
    void ClearLogToolButtonClick();

    // Copy follows the selection, Clear the log's content; both stay as they are during a run.
    void UpdateLogCommands();

    // CopyToolButton and Copy1 take Copy's enabled state, ClearLogToolButton and Clear1 Clear's.
    void AddCopyTarget(QAction* action);
    void AddClearTarget(QAction* action);
    // The log view's context-menu item, "Copy To Clipboard".
    QAction* CopyToClipboard1() const { return copyToClipboard1_; }

    bool CopyEnabled() const { return copyEnabled_; }
    bool ClearEnabled() const { return clearEnabled_; }

    // The file names the dialogs start from; each keeps its last choice while the program runs.
    const QString& OpenFileName() const { return openFileName_; }
    const QString& SaveFileName() const { return saveFileName_; }

  signals:
    // After every UpdateLogCommands that was not frozen by a run, for controls that are not
    // actions.
    void logCommandsUpdated(bool copyEnabled, bool clearEnabled);

  private:
    bool Processing() const;
    QWidget* DialogParent() const;
    void WriteLoadNotice(const QString& fileName);
    void AppendLoadedText(const QByteArray& content);
    void AppendFormatted(const LogRuns& runs);
    void ShowLoadProgress(std::size_t done, std::size_t total);
    void SetEnabled(std::vector<QPointer<QAction>>& targets, bool enabled);

    TLogView& view_;
    Hooks hooks_;
    QAction* copyToClipboard1_;
    std::vector<QPointer<QAction>> copyTargets_;
    std::vector<QPointer<QAction>> clearTargets_;
    bool copyEnabled_ = false;
    bool clearEnabled_ = false;
    QString openFileName_;
    QString saveFileName_;
};

}  // namespace vantaro
