#include "shell/log/DisplayText.h"

#include "log/PageText.h"

namespace vantaro {

QString DisplayText(std::string_view bytes) {
    return QString::fromStdString(DecodeForDisplay(bytes));
}

}  // namespace vantaro
