#include "shell/log/LogCommands.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QTextDocument>
#include <memory>
#include <optional>
#include <string_view>

#include "log/LogFileSave.h"
#include "log/LogFileText.h"
#include "log/LogPageLocations.h"
#include "log/RtfReader.h"
#include "log/RtfWriter.h"
#include "shell/Prompter.h"
#include "shell/log/LogDocument.h"
#include "shell/log/LogPrinting.h"
#include "shell/log/LogView.h"

namespace vantaro {
namespace {

constexpr int kClearLogHelpContext = 10000130;
const QString kLogSuffix = QStringLiteral("vtl");

Prompter::FileRequest LogFileRequest(const QString& initialPath) {
    Prompter::FileRequest request;
    request.filter = QStringLiteral("Log Files (*.vtl)");
    request.defaultSuffix = kLogSuffix;
    request.initialPath = initialPath;
    return request;
}

// A name typed without extension gets ".vtl", whichever dialog took it.
QString WithLogSuffix(const QString& fileName) {
    if (!QFileInfo(fileName).suffix().isEmpty()) {
        return fileName;
    }
    return fileName.endsWith(u'.') ? fileName + kLogSuffix : fileName + u'.' + kLogSuffix;
}

QString Shown(const QString& fileName) {
    return QDir::toNativeSeparators(fileName);
}

std::string_view BytesOf(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

// A log read back from a file keeps only its text, so the pages its findings report on are found
// again from that.
void ReadBackPages(TLogView& view, int fromLine) {
    LogPageLocationReader reader;
    for (int line = fromLine; line < view.LineCount(); ++line) {
        const QByteArray text = view.LineText(line).toUtf8();
        if (std::optional<PageLocation> page = reader.Next(BytesOf(text))) {
            view.SetPageOfLine(line, std::move(*page));
        }
    }
}

}  // namespace

TLogCommands::TLogCommands(TLogView& view, Hooks hooks, QObject* parent)
    : QObject(parent),
      view_(view),
      hooks_(std::move(hooks)),
      copyToClipboard1_(new QAction(QStringLiteral("Copy To Clipboard"), &view)) {
    copyToClipboard1_->setObjectName(QStringLiteral("CopyToClipboard1"));
    connect(copyToClipboard1_, &QAction::triggered, this, &TLogCommands::CopyToolButtonClick);
    view_.addAction(copyToClipboard1_);

    // The view's selection changes while a drag is still going on, so Copy follows it.
    connect(&view_, &TLogView::textChanged, this, &TLogCommands::UpdateLogCommands);
    connect(&view_, &TLogView::selectionChanged, this, &TLogCommands::UpdateLogCommands);
    UpdateLogCommands();
}

bool TLogCommands::Processing() const {
    return hooks_.isProcessing && hooks_.isProcessing();
}

QWidget* TLogCommands::DialogParent() const {
    return view_.window();
}

void TLogCommands::OpenLogToolButtonClick() {
    if (Processing()) {
        return;
    }
    const QString fileName =
        CurrentPrompter().OpenFileName(DialogParent(), LogFileRequest(openFileName_));
    if (fileName.isEmpty()) {
        return;
    }
    openFileName_ = fileName;
    WriteLoadNotice(fileName);
    QFile file(fileName);
    QByteArray content;
    if (file.open(QIODevice::ReadOnly)) {
        content = file.readAll();
    }
    if (!file.isOpen() || file.error() != QFileDevice::NoError) {
        ShowError(DialogParent(), QStringLiteral("Cannot open file %1").arg(Shown(fileName)));
        return;
    }
    const int firstLoadedLine = view_.LineCount() - 1;
    AppendLoadedText(content);
    ReadBackPages(view_, firstLoadedLine);
}

void TLogCommands::WriteLoadNotice(const QString& fileName) {
    const QByteArray path = Shown(fileName).toUtf8();
    view_.AddLogLine("", LogColour::LogGrey, true, FontStyle::Plain());
    view_.AddLogLine("Log loaded from file : ", LogColour::LogGrey, false, FontStyle::Underline);
    view_.AddLogLine(BytesOf(path), LogColour::LogGrey, true, FontStyle::Plain());
    view_.AddLogLine("...", LogColour::LogDarkGrey, true, FontStyle::Bold);
}

// A log file we saved comes back with its colours and styles; any other file is grey text.
// Either way an empty line follows the loaded text.
void TLogCommands::AppendLoadedText(const QByteArray& content) {
    const std::string_view bytes = BytesOf(content);
    std::optional<LogRuns> runs;
    if (bytes.starts_with("{\\rtf")) {
        runs = ReadLogRtf(bytes);
    }
    if (runs) {
        AppendFormatted(*runs);
        return;
    }
    view_.AddLogLine(JoinLogFileLines(bytes), LogColour::LogGrey, true, FontStyle::Plain());
}

// A long log goes in part by part, each part one edit, and the window gets to paint and to
// say how far it has come between parts (input waits, so nothing else starts meanwhile).
void TLogCommands::AppendFormatted(const LogRuns& runs) {
    constexpr std::size_t kRunsPerPart = 8192;
    const bool inParts = runs.size() > kRunsPerPart;
    view_.SetBatching(true);
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const LogRun& run = runs[i];
        view_.AddLogLine(run.text, run.colour, run.endLine, run.style);
        if (inParts && (i + 1) % kRunsPerPart == 0) {
            view_.Flush();
            ShowLoadProgress(i + 1, runs.size());
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }
    }
    if (!runs.empty() && !runs.back().endLine) {
        view_.AddLogLine("", runs.back().colour, true, runs.back().style);
    }
    view_.AddLogLine("", LogColour::LogGrey, true, FontStyle::Plain());
    view_.SetBatching(false);
    if (inParts) {
        ShowLoadProgress(0, 0);
    }
}

void TLogCommands::ShowLoadProgress(std::size_t done, std::size_t total) {
    if (hooks_.loadProgress) {
        hooks_.loadProgress(done, total);
    }
}

void TLogCommands::SaveLogToolButtonClick() {
    if (Processing()) {
        return;
    }
    QString fileName =
        CurrentPrompter().SaveFileName(DialogParent(), LogFileRequest(saveFileName_));
    if (fileName.isEmpty()) {
        return;
    }
    fileName = WithLogSuffix(fileName);
    saveFileName_ = fileName;
    const std::string rtf = WriteLogRtf(view_.Runs(), view_.FontForRtf());
    switch (SaveWholeFile(QFile::encodeName(fileName).toStdString(), rtf)) {
        case SaveOutcome::Saved:
            break;
        case SaveOutcome::CannotCreate:
            ShowError(DialogParent(), QStringLiteral("Cannot create file %1").arg(Shown(fileName)));
            break;
        case SaveOutcome::WriteFailed:
            ShowError(DialogParent(), QStringLiteral("Failed to Save Stream"));
            break;
    }
}

void TLogCommands::PrintLogToolButtonClick() {
    if (Processing()) {
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    if (!CurrentPrompter().ChoosePrinter(DialogParent(), printer)) {
        return;
    }
    const std::unique_ptr<QTextDocument> document = LogDocument(view_.Runs(), view_.font());
    if (!PrintDocument(*document, printer, QStringLiteral("Vantaro Log"))) {
        ShowError(DialogParent(), QStringLiteral("Cannot print the log"));
    }
}

void TLogCommands::CopyToolButtonClick() {
    if (Processing()) {
        return;
    }
    view_.copy();
}

void TLogCommands::ClearLogToolButtonClick() {
    if (Processing()) {
        return;
    }
    const bool ask = hooks_.showClearLogPrompt && hooks_.showClearLogPrompt();
    if (ask && AskYesNo(DialogParent(), Prompter::Kind::Confirmation, QStringLiteral("Confirm"),
                        QStringLiteral("Clear log? Are you sure ?"),
                        kClearLogHelpContext) != Prompter::Yes) {
        return;
    }
    view_.clear();
    if (hooks_.resetProgress) {
        hooks_.resetProgress();
    }
}

void TLogCommands::UpdateLogCommands() {
    if (Processing()) {
        return;
    }
    copyEnabled_ = view_.HasSelectedText();
    clearEnabled_ = !view_.IsEmpty();
    SetEnabled(copyTargets_, copyEnabled_);
    copyToClipboard1_->setEnabled(copyEnabled_);
    SetEnabled(clearTargets_, clearEnabled_);
    emit logCommandsUpdated(copyEnabled_, clearEnabled_);
}

void TLogCommands::AddCopyTarget(QAction* action) {
    copyTargets_.emplace_back(action);
    action->setEnabled(copyEnabled_);
}

void TLogCommands::AddClearTarget(QAction* action) {
    clearTargets_.emplace_back(action);
    action->setEnabled(clearEnabled_);
}

void TLogCommands::SetEnabled(std::vector<QPointer<QAction>>& targets, bool enabled) {
    for (const QPointer<QAction>& action : targets) {
        if (action) {
            action->setEnabled(enabled);
        }
    }
}

}  // namespace vantaro
