#pragma once

#include <QFont>
#include <QTextDocument>
#include <memory>

#include "log/LogRun.h"

class QTextCharFormat;

namespace vantaro {

// The character format of a log run: every property set outright, so one run's style never
// carries into the next.
QTextCharFormat LogCharFormat(LogColour colour, FontStyle style);

// A stretch of the log as a rich-text document in the given font, made when it is printed or
// copied as HTML; the view itself keeps no document.
std::unique_ptr<QTextDocument> LogDocument(const LogRuns& runs, const QFont& font);

}  // namespace vantaro
