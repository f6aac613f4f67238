#include "shell/log/LogPageCommands.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

#include "shell/PageView.h"
#include "shell/Prompter.h"
#include "shell/log/LogView.h"

namespace vantaro {

namespace {

// Far more than any hand-kept page; what is larger is not read into a view whole.
constexpr qint64 kLargestShownPage = 64 * 1024 * 1024;

QString PathOf(const PageLocation& page) {
    return QFile::decodeName(QByteArray::fromStdString(page.FullPath));
}

// The page's bytes, or why they cannot be shown.
std::optional<QByteArray> ReadPage(const QString& path, QString& why) {
    const QFileInfo info(path);
    if (!info.exists()) {
        why = QStringLiteral("it no longer exists");
        return std::nullopt;
    }
    if (!info.isFile()) {
        why = QStringLiteral("it is not a file");
        return std::nullopt;
    }
    if (info.size() > kLargestShownPage) {
        why = QStringLiteral("it is too large to show");
        return std::nullopt;
    }
    QFile file(path);
    QByteArray content;
    if (file.open(QIODevice::ReadOnly)) {
        content = file.readAll();
    }
    if (!file.isOpen() || file.error() != QFileDevice::NoError) {
        why = file.errorString();
        return std::nullopt;
    }
    return content;
}

}  // namespace

TLogPageCommands::TLogPageCommands(TLogView& view, std::function<bool()> isProcessing,
                                   QObject* parent)
    : QObject(parent),
      view_(view),
      isProcessing_(std::move(isProcessing)),
      showPage1_(new QAction(QStringLiteral("Show Page"), &view)),
      copyPagePath1_(new QAction(QStringLiteral("Copy Page Path"), &view)) {
    showPage1_->setObjectName(QStringLiteral("ShowPage1"));
    copyPagePath1_->setObjectName(QStringLiteral("CopyPagePath1"));
    auto* separator = new QAction(&view);
    separator->setSeparator(true);
    view_.addActions({separator, showPage1_, copyPagePath1_});
    MenuOpening(nullptr);

    connect(showPage1_, &QAction::triggered, this, [this] {
        if (menuPage_) {
            ShowPage(*menuPage_);
        }
    });
    connect(copyPagePath1_, &QAction::triggered, this, [this] {
        if (menuPage_) {
            CopyPagePath(*menuPage_);
        }
    });
    connect(&view_, &TLogView::contextMenuOpening, this, &TLogPageCommands::MenuOpening);
    connect(&view_, &TLogView::pageLineActivated, this, &TLogPageCommands::ShowPage);
}

bool TLogPageCommands::Processing() const {
    return isProcessing_ && isProcessing_();
}

void TLogPageCommands::MenuOpening(const PageLocation* page) {
    menuPage_.reset();
    if (page != nullptr) {
        menuPage_ = *page;
    }
    const bool enabled = menuPage_.has_value() && !Processing();
    showPage1_->setEnabled(enabled);
    copyPagePath1_->setEnabled(enabled);
}

void TLogPageCommands::ShowPage(const PageLocation& page) {
    if (Processing()) {
        return;
    }
    const QString path = PathOf(page);
    QString why;
    const std::optional<QByteArray> content = ReadPage(path, why);
    if (!content) {
        ShowError(view_.window(), QStringLiteral("Cannot show the page %1: %2.")
                                      .arg(QDir::toNativeSeparators(path), why));
        return;
    }
    Viewer().ShowPage(
        page, std::string_view(content->constData(), static_cast<std::size_t>(content->size())));
}

void TLogPageCommands::CopyPagePath(const PageLocation& page) {
    if (Processing()) {
        return;
    }
    QGuiApplication::clipboard()->setText(QDir::toNativeSeparators(PathOf(page)));
}

TPageView& TLogPageCommands::Viewer() {
    if (!viewer_) {
        viewer_ = new TPageView(view_.window());
    }
    return *viewer_;
}

}  // namespace vantaro
