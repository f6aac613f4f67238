#include "shell/PageView.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QStringList>
#include <QTextBlock>
#include <QVBoxLayout>

#include "engine/ByteText.h"
#include "log/PageListing.h"
#include "platform/Paths.h"
#include "shell/ImageLists.h"
#include "shell/PageTextView.h"
#include "shell/Prompter.h"

namespace vantaro {

namespace {

const QColor kLineMark(0xFF, 0xF6, 0xC8);
const QColor kTagMark(0xFF, 0xD2, 0x7F);

QString FromBytes(std::string_view bytes) {
    return QFile::decodeName(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

// A listed line as one line of the view: the characters that would break it into several are
// shown by a stand-in, one for one, so the columns of the listing still hold.
QString ShownLine(const std::string& line) {
    QString shown = QString::fromStdString(line);
    for (QChar& c : shown) {
        if (c == u'\r') {
            c = QChar(0x240D);  // the symbol for a carriage return
        } else if (c == QChar::ParagraphSeparator || c.unicode() == 0xFDD0 ||
                   c.unicode() == 0xFDD1) {
            c = QChar(QChar::ReplacementCharacter);
        }
    }
    return shown;
}

}  // namespace

TPageView::TPageView(QWidget* parent)
    : QWidget(parent, Qt::Window),
      pathLabel_(new QLabel(this)),
      openButton_(new QPushButton(tr("Open in Default Program"), this)),
      text_(new TPageTextView(this)),
      opener_([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {
    setObjectName(QStringLiteral("PageView"));
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowIcon(AppIcon());
    resize(760, 560);
    pathLabel_->setObjectName(QStringLiteral("PagePathLabel"));
    pathLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    openButton_->setObjectName(QStringLiteral("OpenInDefaultProgramButton"));
    text_->setObjectName(QStringLiteral("PageTextView"));

    auto* bar = new QHBoxLayout();
    bar->addWidget(pathLabel_, 1);
    bar->addWidget(openButton_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(bar);
    layout->addWidget(text_);

    connect(openButton_, &QPushButton::clicked, this, &TPageView::OpenInDefaultProgram);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &QWidget::close);
}

void TPageView::ShowPage(const PageLocation& page, std::string_view bytes) {
    page_ = page;
    const PageListing listing = ListPage(bytes, page.Line, page.Tag);
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(listing.Lines.size()));
    for (const std::string& line : listing.Lines) {
        lines.append(ShownLine(line));
    }
    const QString path = QDir::toNativeSeparators(FromBytes(page.FullPath));
    setWindowTitle(tr("%1 - Vantaro").arg(FromBytes(FileNameOf(page.FullPath))));
    pathLabel_->setText(tr("%1, line %2").arg(path).arg(page.Line));
    pathLabel_->setToolTip(path);
    show();
    raise();
    activateWindow();
    text_->setPlainText(lines.join(u'\n'));
    MarkPlace(page, listing);
}

// The line is marked across the view's width and the tags it reports more strongly, and the view
// centres the caret there.
void TPageView::MarkPlace(const PageLocation& page, const PageListing& listing) {
    QTextDocument& document = *text_->document();
    const auto positionOf = [&](std::size_t line, std::size_t column) {
        const std::string& text = listing.Lines[line];
        const QTextBlock block = document.findBlockByNumber(static_cast<int>(line));
        return block.position() +
               static_cast<int>(
                   QString::fromUtf8(text.data(), static_cast<qsizetype>(column)).size());
    };

    QList<QTextEdit::ExtraSelection> marks;
    QTextCursor caret(&document);
    caret.movePosition(QTextCursor::End);
    if (page.Line >= 1 && page.Line <= listing.Lines.size()) {
        QTextEdit::ExtraSelection lineMark;
        lineMark.cursor = QTextCursor(document.findBlockByNumber(static_cast<int>(page.Line - 1)));
        lineMark.format.setBackground(kLineMark);
        lineMark.format.setProperty(QTextFormat::FullWidthSelection, true);
        marks.append(lineMark);
        caret = lineMark.cursor;
    }
    for (const PageSpan& span : listing.Tags) {
        QTextEdit::ExtraSelection tagMark;
        tagMark.cursor = QTextCursor(&document);
        tagMark.cursor.setPosition(positionOf(span.FirstLine, span.FirstColumn));
        tagMark.cursor.setPosition(positionOf(span.LastLine, span.EndColumn),
                                   QTextCursor::KeepAnchor);
        tagMark.format.setBackground(kTagMark);
        marks.append(tagMark);
    }
    // A tag far along a long line is scrolled to; one that began on an earlier line ends at the
    // start of this one.
    if (!listing.Tags.empty() && listing.Tags.front().FirstLine + 1 == page.Line) {
        caret.setPosition(
            positionOf(listing.Tags.front().FirstLine, listing.Tags.front().FirstColumn));
    }
    text_->setExtraSelections(marks);
    text_->setTextCursor(caret);
    text_->centerCursor();
}

void TPageView::OpenInDefaultProgram() {
    const QString path = FromBytes(page_.FullPath);
    if (!opener_(QUrl::fromLocalFile(path))) {
        ShowError(
            this,
            tr("No program could be started to open %1.").arg(QDir::toNativeSeparators(path)));
    }
}

void TPageView::SetFileOpener(FileOpener opener) {
    opener_ = std::move(opener);
}

}  // namespace vantaro
