#include "shell/log/LogDocument.h"

#include <QTextCursor>

namespace vantaro {

QTextCharFormat LogCharFormat(LogColour colour, FontStyle style) {
    QTextCharFormat format;
    format.setForeground(QColor::fromRgb(static_cast<QRgb>(ToRgb(colour) | 0xFF000000u)));
    format.setFontWeight(style.Has(FontStyle::Bold) ? QFont::Bold : QFont::Normal);
    format.setFontItalic(style.Has(FontStyle::Italic));
    format.setFontUnderline(style.Has(FontStyle::Underline));
    format.setFontStrikeOut(style.Has(FontStyle::StrikeOut));
    return format;
}

std::unique_ptr<QTextDocument> LogDocument(const LogRuns& runs, const QFont& font) {
    auto document = std::make_unique<QTextDocument>();
    document->setDefaultFont(font);
    document->setUndoRedoEnabled(false);
    QTextCursor end(document.get());
    end.beginEditBlock();
    for (const LogRun& run : runs) {
        const QTextCharFormat format = LogCharFormat(run.colour, run.style);
        end.insertText(QString::fromStdString(run.text), format);
        if (run.endLine) {
            end.insertBlock(QTextBlockFormat(), format);
        }
    }
    end.endEditBlock();
    return document;
}

}  // namespace vantaro
