#include "shell/ProgressGauge.h"

#include <algorithm>
#include <limits>

namespace vantaro {

TProgressGauge::TProgressGauge(QWidget* parent) : QProgressBar(parent) {
    setObjectName(QStringLiteral("ProgressGauge"));
    setAlignment(Qt::AlignCenter);
    setTextVisible(false);
    ShowOnBar();
}

void TProgressGauge::SetMaxValue(std::uint64_t maxValue) {
    maxValue_ = maxValue;
    shift_ = 0;
    while ((maxValue_ >> shift_) > static_cast<std::uint64_t>(std::numeric_limits<int>::max())) {
        ++shift_;
    }
    progress_ = std::min(progress_, maxValue_);
    ShowOnBar();
}

void TProgressGauge::SetProgress(std::uint64_t progress) {
    progress_ = std::min(progress, maxValue_);
    ShowOnBar();
}

void TProgressGauge::AddProgress(std::uint64_t amount) {
    progress_ = amount >= maxValue_ - progress_ ? maxValue_ : progress_ + amount;
    ShowOnBar();
}

void TProgressGauge::ShowOnBar() {
    // A bar whose range is empty would run its busy animation; an empty run shows 0 instead.
    const int barMax = maxValue_ == 0 ? 1 : static_cast<int>(maxValue_ >> shift_);
    setRange(0, barMax);
    setValue(static_cast<int>(progress_ >> shift_));
}

}  // namespace vantaro
