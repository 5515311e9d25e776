// A small chiptune synthesiser: square (four duties), triangle and noise voices
// with envelopes, vibrato, pitch slides and echo, playing scores written in a
// compact MML-like text.
//
// Score file:
//   music NAME.mp3 | effect NAME.wav    what the score makes (a loop, or a one-shot)
//   tempo BPM                          quarter notes per minute
//   transpose N                        semitones added to every melodic note
//   include FILE                       reads another score first (its lines can be overridden)
//   track NAME square|triangle|noise [vol=V] [pan=P] [duty=D] [env=A,D,S,R]
//         [vib=DEPTH,RATE,DELAY] [slide=SEMITONES_PER_S] [echo=DELAY,FEEDBACK,MIX]
//   NAME  mml...                       appends notes to a track
// MML: c d e f g a b (+ # sharp, - flat) [length][.], r rest, ^length ties,
//   o octave, < > octave down/up, l default length, v volume 0-15, @ duty 0-3,
//   q gate 1-8, [ ... / ... ]N repeat N times (the part after / is skipped the
//   last time), | bar line (ignored). Noise tracks play drums: k kick, s snare,
//   h closed hat, o open hat, c crash, t tom, x hit.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace assetgen {

inline constexpr int kSampleRate = 44100;

struct StereoBuffer {
    std::vector<float> left, right;
    size_t Frames() const { return left.size(); }
};

struct Score {
    std::string output;  // file name made from the score
    bool loop = false;   // music loops, effects play once
    double tempo = 120;
    int transpose = 0;
    struct Track {
        std::string name;
        enum class Wave { Square, Triangle, Noise } wave = Wave::Square;
        double volume = 0.25, pan = 0, duty = 0.5;
        double attack = 0.004, decay = 0.08, sustain = 0.7, release = 0.05;
        double vibDepth = 0, vibRate = 5.5, vibDelay = 0.2;
        double slide = 0;
        double echoDelay = 0, echoFeedback = 0, echoMix = 0;
        std::string mml;
    };
    std::vector<Track> tracks;
};

// Reads a score; `readFile` returns the text of an included file (by the name written).
Score ParseScore(const std::string& text, const std::string& origin,
                 const std::function<std::string(const std::string&)>& readFile);

// The level a rendered sound is scaled to, in full-scale units: its RMS is
// `rms` (0: not set) unless that would take its peak above `peak`.
struct Level {
    double peak = 0.5;
    double rms = 0;
};

// Renders a score. A loop is exactly one period long and wraps its own tails
// (release, echo) round to its start, so played end-to-start it joins
// seamlessly; an effect is rendered once with its tails and trimmed, and starts
// and ends on zero. Both carry no DC (a 10 Hz high-pass) and are scaled to
// `level`; music has its taller excursions positive, effects negative.
StereoBuffer Render(const Score& score, const Level& level);

// Largest |sample| over both channels, and the RMS over both, in full-scale units.
double Peak(const StereoBuffer& sound);
double Rms(const StereoBuffer& sound);

// One line per track: its length in beats, note count and pitch range (for
// people checking a score).
std::string Describe(const Score& score);

// Length of one period of a loop in frames (what Render returns for it).
size_t LoopFrames(const Score& score);

}  // namespace assetgen
