#include "shell/log/LogPrinting.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>

namespace vantaro {

bool PrintDocument(QTextDocument& document, QPrinter& printer, const QString& title) {
    printer.setDocName(title);
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    document.documentLayout()->setPaintDevice(&printer);
    document.setDocumentMargin(0);
    QTextOption option = document.defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    document.setDefaultTextOption(option);
    const QSizeF page = printer.pageRect(QPrinter::DevicePixel).size();
    document.setPageSize(page);

    const int pages = document.pageCount();
    for (int index = 0; index < pages; ++index) {
        if (index > 0 && !printer.newPage()) {
            return false;
        }
        const QRectF area(QPointF(0, index * page.height()), page);
        painter.save();
        painter.translate(0, -area.top());
        document.drawContents(&painter, area);
        painter.restore();
    }
    return painter.end();
}

}  // namespace vantaro
