#pragma once

#include <QString>

class QPrinter;
class QTextDocument;

namespace vantaro {

// Prints the document as it is formatted (laying it out for the printer), as one job with the given
// title, filling the printable area of each page from its top-left corner with no margin, header or
// footer of its own. Long lines wrap to the page width. False when the printer cannot be used.
bool PrintDocument(QTextDocument& document, QPrinter& printer, const QString& title);

}  // namespace vantaro
