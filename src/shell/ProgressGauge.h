#pragma once

#include <QProgressBar>
#include <cstdint>

namespace vantaro {

// The progress gauge of a run: its maximum and progress are byte counts of any size, shown on
// the bar's int range. The progress never goes beyond the maximum.
class TProgressGauge : public QProgressBar {
    Q_OBJECT

  public:
    explicit TProgressGauge(QWidget* parent = nullptr);

    std::uint64_t Progress() const { return progress_; }

    void SetMaxValue(std::uint64_t maxValue);
    void SetProgress(std::uint64_t progress);
    void AddProgress(std::uint64_t amount);

    // The percentage text on the bar.
    void SetShowText(bool show) { setTextVisible(show); }
    bool ShowText() const { return isTextVisible(); }

  private:
    void ShowOnBar();

    std::uint64_t maxValue_ = 100;
    std::uint64_t progress_ = 0;
    int shift_ = 0;  // bar value = count >> shift_
};

}  // namespace vantaro
