#pragma once

#include <ostream>

#include "log/LogRun.h"

namespace vantaro {

// Readable runs in test failures.
inline void PrintTo(const LogRun& run, std::ostream* out) {
    *out << '{' << '"' << run.text << '"' << ' ' << LogColourName(run.colour);
    if (run.style.Has(FontStyle::Bold)) {
        *out << " bold";
    }
    if (run.style.Has(FontStyle::Italic)) {
        *out << " italic";
    }
    if (run.style.Has(FontStyle::Underline)) {
        *out << " underline";
    }
    if (run.style.Has(FontStyle::StrikeOut)) {
        *out << " strikeout";
    }
    *out << (run.endLine ? " end}" : "}");
}

}  // namespace vantaro
