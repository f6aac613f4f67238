#include "shell/log/LogPrinting.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>
#include <memory>

namespace vantaro {

bool PrintDocument(const QTextDocument& document, QPrinter& printer, const QString& title) {
    printer.setDocName(title);
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    // A copy laid out for the printer, so the view keeps its own layout.
    const std::unique_ptr<QTextDocument> copy(document.clone());
    copy->documentLayout()->setPaintDevice(&printer);
    copy->setDocumentMargin(0);
    QTextOption option = copy->defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    copy->setDefaultTextOption(option);
    const QSizeF page = printer.pageRect(QPrinter::DevicePixel).size();
    copy->setPageSize(page);

    const int pages = copy->pageCount();
    for (int index = 0; index < pages; ++index) {
        if (index > 0 && !printer.newPage()) {
            return false;
        }
        const QRectF area(QPointF(0, index * page.height()), page);
        painter.save();
        painter.translate(0, -area.top());
        copy->drawContents(&painter, area);
        painter.restore();
    }
    return painter.end();
}

}  // namespace vantaro
