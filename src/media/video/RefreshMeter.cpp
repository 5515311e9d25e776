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
    m_timing = true;
    m_presents = 0;
}

bool RefreshMeter::NotePresent(uint32_t endMillis) {
    if (!m_timing) return false;
    if (m_presents > 0) m_trials[m_presents - 1] = static_cast<int>(endMillis - m_lastEnd);
    m_lastEnd = endMillis;
    ++m_presents;
    if (m_presents <= kTrials) return false;
    m_timing = false;
    return true;
}

int RefreshMeter::Decide(Platform& platform) {
    const bool timed = m_presents > kTrials;
    bool measured = timed && std::all_of(m_trials, m_trials + kTrials, TrialInRange);
    int period = measured ? MedianOf(m_trials) : -1;
    if (!measured) {
        const int rate = platform.DisplayRefreshRate();
        if (rate >= 10 && rate <= 250) {
            period = 1000 / rate;
            std::fill(m_trials, m_trials + kTrials, period);
            measured = true;
        }
    }
    m_timing = false;
    m_presents = 0;
    if (!measured) {
        LogPrintf("%s", texts::kFramePeriodUnknown);
        return -1;
    }
    LogPrintf(texts::kFramePeriod, period);
    for (int i = 0; i < kTrials; ++i) LogPrintf(texts::kFrameTrial, i, m_trials[i]);
    return period;
}

}  // namespace media
