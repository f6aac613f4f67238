#pragma once

#include <QString>
#include <ostream>

// Readable QString values in test failures (found by argument-dependent lookup).
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
