#include "Synth.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <sstream>
#include <stdexcept>

namespace assetgen {

namespace {

constexpr double kPi = 3.14159265358979323846;

[[noreturn]] void Fail(const std::string& origin, const std::string& what) {
    throw std::runtime_error(origin + ": " + what);
}

std::vector<double> Numbers(const std::string& s, const std::string& origin) {
    std::vector<double> v;
    std::stringstream in(s);
    for (std::string part; std::getline(in, part, ',');) {
        try {
            v.push_back(std::stod(part));
        } catch (const std::logic_error&) {
            Fail(origin, "not a number: " + part);
        }
    }
    return v;
}

void ApplyTrackWords(Score::Track& t, const std::vector<std::string>& words, size_t from, const std::string& origin) {
    for (size_t i = from; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (w == "square") {
            t.wave = Score::Track::Wave::Square;
            continue;
        }
        if (w == "triangle") {
            t.wave = Score::Track::Wave::Triangle;
            continue;
        }
        if (w == "noise") {
            t.wave = Score::Track::Wave::Noise;
            continue;
        }
        size_t eq = w.find('=');
        if (eq == std::string::npos) Fail(origin, "unknown track word: " + w);
        std::string key = w.substr(0, eq);
        auto v = Numbers(w.substr(eq + 1), origin);
        auto need = [&](size_t n) {
            if (v.size() != n) Fail(origin, key + " takes " + std::to_string(n) + " numbers");
        };
        if (key == "vol") {
            need(1);
            t.volume = v[0];
        } else if (key == "pan") {
            need(1);
            t.pan = std::clamp(v[0], -1.0, 1.0);
        } else if (key == "duty") {
            need(1);
            t.duty = std::array<double, 4>{0.125, 0.25, 0.5, 0.75}.at(size_t(std::clamp(int(v[0]), 0, 3)));
        } else if (key == "env") {
            need(4);
            t.attack = v[0];
            t.decay = v[1];
            t.sustain = v[2];
            t.release = v[3];
        } else if (key == "vib") {
            need(3);
            t.vibDepth = v[0];
            t.vibRate = v[1];
            t.vibDelay = v[2];
        } else if (key == "slide") {
            need(1);
            t.slide = v[0];
        } else if (key == "echo") {
            need(3);
            t.echoDelay = v[0];
            t.echoFeedback = v[1];
            t.echoMix = v[2];
        } else Fail(origin, "unknown track setting: " + key);
    }
}

void ParseInto(Score& score, const std::string& text, const std::string& origin,
               const std::function<std::string(const std::string&)>& readFile, int depth) {
    if (depth > 4) Fail(origin, "includes nest too deeply");
    std::istringstream in(text);
    int lineNo = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNo;
        std::string where = origin + ":" + std::to_string(lineNo);
        if (auto hash = line.find('#'); hash != std::string::npos) line.resize(hash);
        std::istringstream ls(line);
        std::vector<std::string> w;
        for (std::string word; ls >> word;) w.push_back(word);
        if (w.empty()) continue;
        if (w[0] == "music" || w[0] == "effect") {
            if (w.size() != 2) Fail(where, w[0] + " NAME");
            score.output = w[1];
            score.loop = w[0] == "music";
        } else if (w[0] == "tempo") {
            if (w.size() != 2) Fail(where, "tempo BPM");
            score.tempo = Numbers(w[1], where).at(0);
            if (score.tempo < 20 || score.tempo > 400) Fail(where, "tempo out of range");
        } else if (w[0] == "transpose") {
            if (w.size() != 2) Fail(where, "transpose N");
            score.transpose = int(Numbers(w[1], where).at(0));
        } else if (w[0] == "include") {
            if (w.size() != 2) Fail(where, "include FILE");
            ParseInto(score, readFile(w[1]), w[1], readFile, depth + 1);
        } else if (w[0] == "track") {
            if (w.size() < 2) Fail(where, "track NAME ...");
            auto it = std::find_if(score.tracks.begin(), score.tracks.end(),
                                   [&](const Score::Track& t) { return t.name == w[1]; });
            if (it == score.tracks.end()) {
                score.tracks.push_back({});
                score.tracks.back().name = w[1];
                it = score.tracks.end() - 1;
            }
            ApplyTrackWords(*it, w, 2, where);
        } else if (w[0] == "clear") {  // clear NAME: forget a track's notes (for variations)
            if (w.size() != 2) Fail(where, "clear NAME");
            for (auto& t : score.tracks)
                if (t.name == w[1]) t.mml.clear();
        } else {
            auto it = std::find_if(score.tracks.begin(), score.tracks.end(),
                                   [&](const Score::Track& t) { return t.name == w[0]; });
            if (it == score.tracks.end()) Fail(where, "unknown track or directive: " + w[0]);
            std::string rest = line.substr(line.find(w[0]) + w[0].size());
            it->mml += " " + rest;
        }
    }
}

// ---------------------------------------------------------------- MML

struct Event {
    double beat = 0;   // start
    double beats = 0;  // length
    double gate = 0;   // sounding length in beats
    int midi = 0;      // melodic note
    char drum = 0;     // drum kind (noise tracks)
    double velocity = 1;
    double duty = 0.5;
};

class MmlReader {
public:
    MmlReader(const std::string& mml, const Score::Track& track, int transpose, const std::string& origin)
        : src_(Expand(mml, origin)), track_(track), transpose_(transpose), origin_(origin) {
        duty_ = track.duty;
    }

    std::vector<Event> Read(double& totalBeats) {
        std::vector<Event> events;
        size_t i = 0;
        const bool drums = track_.wave == Score::Track::Wave::Noise;
        while (i < src_.size()) {
            char c = src_[i];
            if (std::isspace(static_cast<unsigned char>(c)) || c == '|') {
                ++i;
                continue;
            }
            ++i;
            const bool isDrum = drums && std::string("kshoctx").find(c) != std::string::npos;
            if (c == 'o' && !isDrum) {
                octave_ = int(Int(i));
                continue;
            }
            if (c == '<') {
                --octave_;
                continue;
            }
            if (c == '>') {
                ++octave_;
                continue;
            }
            if (c == 'l') {
                length_ = Length(i, 0);
                continue;
            }
            if (c == 'v') {
                velocity_ = std::clamp(Int(i), 0L, 15L) / 15.0;
                continue;
            }
            if (c == 'q') {
                gate_ = std::clamp(Int(i), 1L, 8L) / 8.0;
                continue;
            }
            if (c == '@') {
                duty_ = std::array<double, 4>{0.125, 0.25, 0.5, 0.75}[size_t(std::clamp(Int(i), 0L, 3L))];
                continue;
            }
            bool isNote = !drums && std::string("cdefgab").find(c) != std::string::npos;
            if (c == 'r' || isNote || isDrum) {
                int midi = 0;
                if (isNote) {
                    static const int base[] = {9, 11, 0, 2, 4, 5, 7};  // a b c d e f g
                    midi = base[c - 'a'] + 12 * (octave_ + 1) + transpose_;
                    while (i < src_.size() && (src_[i] == '+' || src_[i] == '#' || src_[i] == '-'))
                        midi += src_[i++] == '-' ? -1 : 1;
                }
                double beats = Length(i, length_);
                while (i < src_.size() && src_[i] == '^') {
                    ++i;
                    beats += Length(i, length_);
                }
                if (c != 'r') {
                    Event e;
                    e.beat = beat_;
                    e.beats = beats;
                    e.gate = beats * gate_;
                    e.midi = midi;
                    e.drum = isDrum ? c : 0;
                    e.velocity = velocity_;
                    e.duty = duty_;
                    events.push_back(e);
                }
                beat_ += beats;
                continue;
            }
            Fail(origin_, std::string("unexpected '") + c + "' in track " + track_.name);
        }
        totalBeats = beat_;
        return events;
    }

private:
    // Writes out [ ... / ... ]N repeats.
    static std::string Expand(const std::string& s, const std::string& origin) {
        std::string out;
        size_t i = 0;
        ExpandFrom(s, i, out, origin, 0);
        if (i < s.size()) Fail(origin, "unmatched ]");
        return out;
    }
    static void ExpandFrom(const std::string& s, size_t& i, std::string& out, const std::string& origin, int depth) {
        while (i < s.size()) {
            char c = s[i];
            if (c == ']') return;
            if (c == '[') {
                ++i;
                std::string body;
                ExpandFrom(s, i, body, origin, depth + 1);
                if (i >= s.size()) Fail(origin, "unmatched [");
                ++i;  // ]
                size_t start = i;
                while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
                int n = start == i ? 2 : std::stoi(s.substr(start, i - start));
                size_t slash = body.find('/');
                for (int k = 0; k < n; ++k) {
                    if (k == n - 1 && slash != std::string::npos) out += body.substr(0, slash);
                    else out += slash == std::string::npos ? body : body.substr(0, slash) + body.substr(slash + 1);
                    out += ' ';
                }
                continue;
            }
            if (c == '/' && depth == 0) Fail(origin, "/ outside a repeat");
            out += c;
            ++i;
        }
    }

    long Int(size_t& i) {
        size_t start = i;
        if (i < src_.size() && src_[i] == '-') ++i;
        while (i < src_.size() && std::isdigit(static_cast<unsigned char>(src_[i]))) ++i;
        if (start == i) Fail(origin_, "number expected in track " + track_.name);
        return std::stol(src_.substr(start, i - start));
    }
    // A length in beats (quarter note = 1); `fallback` when no number is written.
    double Length(size_t& i, double fallback) {
        double beats = fallback;
        if (i < src_.size() && std::isdigit(static_cast<unsigned char>(src_[i]))) {
            long n = Int(i);
            if (n <= 0 || n > 64) Fail(origin_, "bad length in track " + track_.name);
            beats = 4.0 / double(n);
        } else if (fallback == 0) {
            Fail(origin_, "length expected in track " + track_.name);
        }
        double add = beats / 2;
        while (i < src_.size() && src_[i] == '.') {
            beats += add;
            add /= 2;
            ++i;
        }
        return beats;
    }

    std::string src_;
    const Score::Track& track_;
    int transpose_;
    std::string origin_;
    int octave_ = 4;
    double length_ = 1;
    double velocity_ = 1;
    double gate_ = 7.0 / 8.0;
    double duty_ = 0.5;
    double beat_ = 0;
};

// ---------------------------------------------------------------- voices

double PolyBlep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

double Envelope(const Score::Track& tr, double t, double gate) {
    auto held = [&](double u) {
        if (u < tr.attack) return u / tr.attack;
        u -= tr.attack;
        if (u < tr.decay) return 1.0 - (1.0 - tr.sustain) * (u / tr.decay);
        return tr.sustain;
    };
    if (t < gate) return held(t);
    double level = held(gate);
    double r = t - gate;
    if (tr.release <= 0 || r >= tr.release) return 0.0;
    return level * (1.0 - r / tr.release);
}

// 15-bit noise register as in the classic consoles; `shortMode` gives the metallic loop.
struct Lfsr {
    uint16_t reg = 1;
    bool shortMode = false;
    double acc = 0;
    double out = 1;
    double Step(double clockHz) {
        acc += clockHz / kSampleRate;
        while (acc >= 1) {
            acc -= 1;
            unsigned bit = (reg ^ (reg >> (shortMode ? 6 : 1))) & 1u;
            reg = uint16_t((reg >> 1) | (bit << 14));
            out = (reg & 1) ? 1.0 : -1.0;
        }
        return out;
    }
};

// Renders one melodic note (time since its start) into `out` from `at`.
void RenderNote(const Score::Track& tr, const Event& e, double secondsPerBeat, std::vector<float>& out, size_t at) {
    const double gate = e.gate * secondsPerBeat;
    const double total = gate + tr.release;
    const size_t n = size_t(total * kSampleRate) + 1;
    const double f0 = 440.0 * std::pow(2.0, (e.midi - 69) / 12.0);
    double phase = 0;
    for (size_t k = 0; k < n && at + k < out.size(); ++k) {
        double t = double(k) / kSampleRate;
        double semis = tr.slide * t;
        if (tr.vibDepth > 0 && t > tr.vibDelay) {
            double ramp = std::min(1.0, (t - tr.vibDelay) / 0.15);
            semis += ramp * tr.vibDepth * std::sin(2 * kPi * tr.vibRate * (t - tr.vibDelay));
        }
        double f = f0 * std::pow(2.0, semis / 12.0);
        double dt = f / kSampleRate;
        double v;
        if (tr.wave == Score::Track::Wave::Square) {
            // Centred: a pulse of duty d averages 2d - 1, which is taken off, so
            // narrow pulses carry no DC into the mix.
            v = (phase < e.duty ? 1.0 : -1.0) - (2.0 * e.duty - 1.0);
            v += PolyBlep(phase, dt);
            v -= PolyBlep(std::fmod(phase + 1.0 - e.duty, 1.0), dt);
        } else {
            v = 4.0 * std::fabs(phase - 0.5) - 1.0;
        }
        phase += dt;
        phase -= std::floor(phase);
        out[at + k] += float(v * Envelope(tr, t, gate) * e.velocity * tr.volume);
    }
}

// Renders one drum hit into `out` from `at`.
void RenderDrum(const Score::Track& tr, const Event& e, std::vector<float>& out, size_t at) {
    struct Kit {
        double length, noiseDecay, noiseClock, noiseLevel, toneFrom, toneTo, toneDecay, toneLevel;
        bool shortMode, highPass;
    };
    Kit kit{};
    switch (e.drum) {
        case 'k': kit = {0.30, 0.012, 20000, 0.5, 150, 42, 0.16, 1.1, false, false}; break;
        case 's': kit = {0.22, 0.075, 14000, 0.75, 220, 160, 0.05, 0.5, false, false}; break;
        case 'h': kit = {0.06, 0.018, 44100, 0.45, 0, 0, 0, 0, false, true}; break;
        case 'o': kit = {0.30, 0.10, 44100, 0.40, 0, 0, 0, 0, false, true}; break;
        case 'c': kit = {1.20, 0.40, 30000, 0.50, 0, 0, 0, 0, false, true}; break;
        case 't': kit = {0.30, 0.010, 9000, 0.3, 210, 110, 0.14, 0.9, false, false}; break;
        case 'x': kit = {0.25, 0.06, 5000, 0.9, 330, 70, 0.07, 0.6, true, false}; break;
        default: return;
    }
    Lfsr lfsr;
    lfsr.shortMode = kit.shortMode;
    double phase = 0, prevNoise = 0, hp = 0;
    const size_t n = size_t(kit.length * kSampleRate);
    const double fade = 0.01, onset = 0.0005;  // the hit rises over half a millisecond, no step
    for (size_t k = 0; k < n && at + k < out.size(); ++k) {
        double t = double(k) / kSampleRate;
        double noise = lfsr.Step(kit.noiseClock);
        if (kit.highPass) {  // one-pole high-pass keeps only the hiss
            hp = 0.6 * (hp + noise - prevNoise);
            prevNoise = noise;
            noise = hp * 1.6;
        }
        double v = noise * kit.noiseLevel * std::exp(-t / kit.noiseDecay);
        if (kit.toneLevel > 0) {
            double f = kit.toneTo + (kit.toneFrom - kit.toneTo) * std::exp(-t / 0.03);
            phase += f / kSampleRate;
            phase -= std::floor(phase);
            v += (4.0 * std::fabs(phase - 0.5) - 1.0) * kit.toneLevel * std::exp(-t / kit.toneDecay);
        }
        double tail = kit.length - t;
        if (tail < fade) v *= tail / fade;
        if (t < onset) v *= t / onset;
        out[at + k] += float(v * e.velocity * tr.volume);
    }
}

void ApplyEcho(const Score::Track& tr, std::vector<float>& dry, std::vector<float>& wet) {
    wet.assign(dry.size(), 0.0f);
    if (tr.echoDelay <= 0 || tr.echoMix <= 0) return;
    size_t d = size_t(tr.echoDelay * kSampleRate);
    if (d == 0) return;
    std::vector<float> line(dry.size(), 0.0f);  // e[n] = x[n-d] + fb * e[n-d]
    for (size_t n = d; n < dry.size(); ++n) line[n] = dry[n - d] + float(tr.echoFeedback) * line[n - d];
    for (size_t n = 0; n < dry.size(); ++n) wet[n] = float(tr.echoMix) * line[n];
}

}  // namespace

Score ParseScore(const std::string& text, const std::string& origin,
                 const std::function<std::string(const std::string&)>& readFile) {
    Score score;
    ParseInto(score, text, origin, readFile, 0);
    if (score.output.empty()) Fail(origin, "no music or effect line");
    if (score.tracks.empty()) Fail(origin, "no tracks");
    return score;
}

namespace {

double ScoreBeats(const Score& score, std::vector<std::vector<Event>>* events) {
    double beats = 0;
    for (const auto& t : score.tracks) {
        double total = 0;
        auto ev = MmlReader(t.mml, t, score.transpose, score.output).Read(total);
        if (events) events->push_back(std::move(ev));
        if (score.loop && beats > 0 && std::fabs(total - beats) > 1e-9 && total > 0)
            Fail(score.output, "track " + t.name + " is " + std::to_string(total) + " beats, others " +
                                   std::to_string(beats) + ": a loop needs equal tracks");
        beats = std::max(beats, total);
    }
    return beats;
}

size_t PeriodFrames(const Score& score, double beats) {
    return size_t(std::llround(beats * 60.0 / score.tempo * kSampleRate));
}

}  // namespace

std::string Describe(const Score& score) {
    static const char* names[] = {"c", "c+", "d", "d+", "e", "f", "f+", "g", "g+", "a", "a+", "b"};
    auto pitch = [](int midi) { return std::string(names[midi % 12]) + std::to_string(midi / 12 - 1); };
    std::string out;
    for (const auto& t : score.tracks) {
        double beats = 0;
        auto ev = MmlReader(t.mml, t, score.transpose, score.output).Read(beats);
        int lo = 999, hi = -999;
        for (const Event& e : ev)
            if (!e.drum) {
                lo = std::min(lo, e.midi);
                hi = std::max(hi, e.midi);
            }
        char line[160];
        std::snprintf(line, sizeof line, "%s %-6s %7.2f beats %4zu notes %s\n", score.output.c_str(), t.name.c_str(),
                      beats, ev.size(), lo <= hi ? (pitch(lo) + ".." + pitch(hi)).c_str() : "drums");
        out += line;
    }
    return out;
}

size_t LoopFrames(const Score& score) { return PeriodFrames(score, ScoreBeats(score, nullptr)); }

namespace {

// Every track of the score, panned and summed, over `length` frames.
StereoBuffer MixTracks(const Score& score, const std::vector<std::vector<Event>>& events, size_t period,
                       size_t passes, size_t length) {
    const double spb = 60.0 / score.tempo;
    StereoBuffer mix;
    mix.left.assign(length, 0.0f);
    mix.right.assign(length, 0.0f);
    for (size_t ti = 0; ti < score.tracks.size(); ++ti) {
        const auto& tr = score.tracks[ti];
        std::vector<float> dry(length, 0.0f), wet;
        for (size_t pass = 0; pass < passes; ++pass)
            for (const Event& e : events[ti]) {
                size_t at = size_t(std::llround(e.beat * spb * kSampleRate)) + pass * period;
                if (e.drum) RenderDrum(tr, e, dry, at);
                else RenderNote(tr, e, spb, dry, at);
            }
        ApplyEcho(tr, dry, wet);
        // Constant-power pan; the echo answers from the other side.
        double a = (tr.pan + 1.0) * kPi / 4.0;
        float gl = float(std::cos(a) * std::sqrt(2.0)), gr = float(std::sin(a) * std::sqrt(2.0));
        double b = (-tr.pan * 0.6 + 1.0) * kPi / 4.0;
        float el = float(std::cos(b) * std::sqrt(2.0)), er = float(std::sin(b) * std::sqrt(2.0));
        for (size_t n = 0; n < length; ++n) {
            mix.left[n] += gl * dry[n] + el * wet[n];
            mix.right[n] += gr * dry[n] + er * wet[n];
        }
    }
    return mix;
}

// A gentle one-pole high-pass (about 10 Hz): takes off whatever DC the voices
// leave, far below any note.
void RemoveDc(std::vector<float>& x) {
    const double r = 1.0 - 2.0 * kPi * 10.0 / kSampleRate;
    double previousIn = 0, out = 0;
    for (float& v : x) {
        out = double(v) - previousIn + r * out;
        previousIn = v;
        v = float(out);
    }
}

// A one-shot ends where it falls silent; it rises from zero over its first
// millisecond and falls to zero over its last three, so it starts and ends on 0.
StereoBuffer TrimEffect(const StereoBuffer& mix, size_t period) {
    size_t end = mix.Frames();
    while (end > period / 2 && std::fabs(mix.left[end - 1]) < 1e-4f && std::fabs(mix.right[end - 1]) < 1e-4f) --end;
    StereoBuffer out;
    out.left.assign(mix.left.begin(), mix.left.begin() + std::ptrdiff_t(end));
    out.right.assign(mix.right.begin(), mix.right.begin() + std::ptrdiff_t(end));
    const size_t rise = std::min(end, size_t(0.001 * kSampleRate));
    for (size_t k = 0; k < rise; ++k) {
        out.left[k] *= float(k) / float(rise);
        out.right[k] *= float(k) / float(rise);
    }
    const size_t fall = std::min(end, size_t(0.003 * kSampleRate));
    for (size_t k = 0; k < fall; ++k) {
        out.left[end - 1 - k] *= float(k) / float(fall);
        out.right[end - 1 - k] *= float(k) / float(fall);
    }
    return out;
}

// Turns the sound over, if need be, so that its taller excursions lie on the
// side `up` (+1 or -1). Narrow pulses are lopsided once centred; music keeps
// its tall side up and effects down, so an effect over the music adds to the
// music's shorter side and the two stay further from full scale.
void FaceTallSide(StereoBuffer& out, int up) {
    float high = 0, low = 0;
    for (const auto* channel : {&out.left, &out.right})
        for (float v : *channel) {
            high = std::max(high, v);
            low = std::min(low, v);
        }
    if ((high >= -low) == (up > 0)) return;
    for (auto* channel : {&out.left, &out.right})
        for (float& v : *channel) v = -v;
}

// Scales to the level asked for: the RMS `level.rms` (when given), but never a
// peak above `level.peak`.
void SetLevel(StereoBuffer& out, const Level& level) {
    const double top = Peak(out), rms = Rms(out);
    if (top <= 0) return;
    double gain = level.peak / top;
    if (level.rms > 0 && rms > 0) gain = std::min(gain, level.rms / rms);
    for (size_t n = 0; n < out.Frames(); ++n) {
        out.left[n] = float(out.left[n] * gain);
        out.right[n] = float(out.right[n] * gain);
    }
}

}  // namespace

StereoBuffer Render(const Score& score, const Level& level) {
    std::vector<std::vector<Event>> events;
    const size_t period = PeriodFrames(score, ScoreBeats(score, &events));
    if (period == 0) Fail(score.output, "empty score");
    // A loop is rendered twice through and the second period kept, so every tail
    // of the first period wraps round into the start; an effect once, with room for tails.
    const size_t passes = score.loop ? 2 : 1;
    const size_t length = score.loop ? 2 * period : period + size_t(3.0 * kSampleRate);
    StereoBuffer mix = MixTracks(score, events, period, passes, length);
    // The high-pass runs over both passes, so it has settled by the kept period
    // and its state at the end matches the one at the start: the join stays seamless.
    RemoveDc(mix.left);
    RemoveDc(mix.right);
    StereoBuffer out;
    if (score.loop) {
        out.left.assign(mix.left.begin() + std::ptrdiff_t(period), mix.left.end());
        out.right.assign(mix.right.begin() + std::ptrdiff_t(period), mix.right.end());
    } else {
        out = TrimEffect(mix, period);
    }
    FaceTallSide(out, score.loop ? +1 : -1);
    SetLevel(out, level);
    return out;
}

double Peak(const StereoBuffer& sound) {
    double top = 0;
    for (size_t n = 0; n < sound.Frames(); ++n)
        top = std::max({top, std::fabs(double(sound.left[n])), std::fabs(double(sound.right[n]))});
    return top;
}

double Rms(const StereoBuffer& sound) {
    double sum = 0;
    for (size_t n = 0; n < sound.Frames(); ++n)
        sum += double(sound.left[n]) * sound.left[n] + double(sound.right[n]) * sound.right[n];
    return sound.Frames() ? std::sqrt(sum / double(2 * sound.Frames())) : 0.0;
}

}  // namespace assetgen
