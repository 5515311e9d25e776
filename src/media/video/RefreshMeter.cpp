#include "media/video/RefreshMeter.h"

#include <algorithm>

#include "media/core/Log.h"
#include "media/core/MediaTexts.h"
#include "media/platform/Platform.h"

namespace media {

namespace {

bool TrialInRange(int ms) { return ms >= 4 && ms <= 100; }

int MedianOf(const int (&trials)[RefreshMeter::kTrials]) {
    int sorted[RefreshMeter::kTrials];
    std::copy(trials, trials + RefreshMeter::kTrials, sorted);
    std::sort(sorted, sorted + RefreshMeter::kTrials);
    return (sorted[RefreshMeter::kTrials / 2 - 1] + sorted[RefreshMeter::kTrials / 2] + 1) / 2;
}

}  // namespace

void RefreshMeter::Start() {
    timing_ = true;
    presents_ = 0;
}

bool RefreshMeter::NotePresent(uint32_t endMillis) {
    if (!timing_) return false;
    if (presents_ > 0) trials_[presents_ - 1] = static_cast<int>(endMillis - lastEnd_);
    lastEnd_ = endMillis;
    ++presents_;
    if (presents_ <= kTrials) return false;
    timing_ = false;
    return true;
}

int RefreshMeter::Decide(Platform& platform) {
    const bool timed = presents_ > kTrials;
    bool measured = timed && std::all_of(trials_, trials_ + kTrials, TrialInRange);
    int period = measured ? MedianOf(trials_) : -1;
    if (!measured) {
        const int rate = platform.DisplayRefreshRate();
        if (rate >= 10 && rate <= 250) {
            period = 1000 / rate;
            std::fill(trials_, trials_ + kTrials, period);
            measured = true;
        }
    }
    timing_ = false;
    presents_ = 0;
    if (!measured) {
        LogPrintf("%s", texts::kFramePeriodUnknown);
        return -1;
    }
    LogPrintf(texts::kFramePeriod, period);
    for (int i = 0; i < kTrials; ++i) LogPrintf(texts::kFrameTrial, i, trials_[i]);
    return period;
}

}  // namespace media
