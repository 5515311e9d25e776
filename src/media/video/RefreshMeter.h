// The display's refresh period, timed on the game's own first presents, so
// that measuring it never holds the first frame back.
//
// Presents that wait for the vertical blank end on blanks: the first timed
// present lines up with one, the next kTrials are the trials. The period counts
// only when every trial lies between 4 and 100 ms (a display of 10 to 250 Hz);
// it is the median of the trials, so one late frame does not skew it.
// Otherwise, and on a platform whose presents do not wait, the display mode's
// rate is used when it names one; else the period stays unknown (-1). The
// period and its trials are logged when it is decided.
#pragma once

#include <cstdint>

namespace media {

class Platform;

class RefreshMeter {
public:
    static constexpr int kTrials = 4;

    // Times the presents from the next one on.
    void Start();
    // Forgets a timing under way (the screen has gone).
    void Stop() { m_timing = false; }
    bool Timing() const { return m_timing; }
    // Notes the clock at the end of a present. True when that was the last
    // trial: Decide then gives the period.
    bool NotePresent(uint32_t endMillis);
    // Decides the period from the trials when all of them came in, else from
    // the display mode alone; logs it and returns it in ms, -1 when unknown.
    int Decide(Platform& platform);

private:
    bool m_timing = false;
    int m_presents = 0;  // timed presents so far, the lining-up one included
    uint32_t m_lastEnd = 0;
    int m_trials[kTrials] = {};
};

}  // namespace media
