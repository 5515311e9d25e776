#include "media/core/CallRecorder.h"

#include <charconv>
#include <cmath>
#include <memory>
#include <unordered_map>
#include <utility>

#include "media/core/ShortestDouble.h"
#include "media/text/ShiftJis.h"

namespace media {

std::atomic<bool> g_recordingCalls{false};

namespace {

struct LiveSound {
    std::string path;
    int number = 1;  // 1 for "PATH", n for "PATH@n"
};

struct Recorder {
    std::string calls;
    std::unordered_map<int, std::string> imageNames;
    std::unordered_map<int, std::string> soundNames;
    std::unordered_map<int, LiveSound> liveSounds;
};

// Made by StartCallRecorder, gone while the recorder is off. Touched under the operation lock only.
std::unique_ptr<Recorder>& TheRecorder() {
    static std::unique_ptr<Recorder>* recorder = new std::unique_ptr<Recorder>();  // outlives exit-time calls
    return *recorder;
}

void AppendJsonString(std::string& out, const std::string& utf8) {
    static const char* hex = "0123456789abcdef";
    out += '"';
    for (const char c : utf8) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (b < 0x20) {
            out += "\\u00";
            out += hex[b >> 4];
            out += hex[b & 15];
        } else {
            out += c;
        }
    }
    out += '"';
}

template <typename T>
void AppendNumber(std::string& out, T v) {
    char buf[32];
    out.append(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}

#if !defined(__cpp_lib_to_chars)
// The standard library writes no floating point (emscripten's): the same text.
void AppendNumber(std::string& out, double v) { out += ShortestDoubleText(v); }
#endif

// ,"name" for a handle that was given one, else ,handle.
void AppendNameOrNumber(std::string& out, const std::unordered_map<int, std::string>& names, int handle) {
    out += ',';
    auto it = names.find(handle);
    if (it == names.end()) AppendNumber(out, handle);
    else AppendJsonString(out, it->second);
}

}  // namespace

void StartCallRecorder() {
    OperationGuard guard;
    TheRecorder() = std::make_unique<Recorder>();
    g_recordingCalls.store(true, std::memory_order_relaxed);
}

void StopCallRecorder() {
    OperationGuard guard;
    g_recordingCalls.store(false, std::memory_order_relaxed);
    TheRecorder().reset();
}

std::string TakeRecordedCalls() {
    OperationGuard guard;
    std::string calls;
    if (TheRecorder()) calls.swap(TheRecorder()->calls);
    return calls;
}

bool CurrentCallNames(CallNames& names) {
    OperationGuard guard;
    const Recorder* r = TheRecorder().get();
    if (!r) return false;
    names.images = {r->imageNames.begin(), r->imageNames.end()};
    names.sounds = {r->soundNames.begin(), r->soundNames.end()};
    names.liveSounds.clear();
    for (const auto& [handle, live] : r->liveSounds) names.liveSounds[handle] = {live.path, live.number};
    return true;
}

void PutCallNames(const CallNames& names) {
    OperationGuard guard;
    Recorder* r = TheRecorder().get();
    if (!r) return;
    r->imageNames = {names.images.begin(), names.images.end()};
    r->soundNames = {names.sounds.begin(), names.sounds.end()};
    r->liveSounds.clear();
    for (const auto& [handle, live] : names.liveSounds) r->liveSounds[handle] = {live.first, live.second};
}

RecordedCall::RecordedCall() { g_recordingCalls.store(false, std::memory_order_relaxed); }

RecordedCall::~RecordedCall() { g_recordingCalls.store(TheRecorder() != nullptr, std::memory_order_relaxed); }

void RecordedCall::NameImage(int handle, const char* path, int cell) {
    std::string name = SjisToUtf8(path ? path : "");
    if (cell >= 0) name += "#" + std::to_string(cell);
    TheRecorder()->imageNames[handle] = std::move(name);
}

void RecordedCall::NameSound(int handle, const char* path) {
    Recorder& r = *TheRecorder();
    LiveSound live{SjisToUtf8(path ? path : ""), 1};
    for (bool taken = true; taken;) {
        taken = false;
        for (const auto& [other, sound] : r.liveSounds)
            if (sound.path == live.path && sound.number == live.number) taken = true;
        if (taken) ++live.number;
    }
    r.soundNames[handle] = live.number == 1 ? live.path : live.path + "@" + std::to_string(live.number);
    r.liveSounds[handle] = std::move(live);
}

void RecordedCall::EndSound(int handle) { TheRecorder()->liveSounds.erase(handle); }

void RecordedCall::EndAllSounds() { TheRecorder()->liveSounds.clear(); }

void RecordedCall::Open(const char* name) {
    std::string& out = TheRecorder()->calls;
    if (!out.empty()) out += ',';
    out += '[';
    AppendJsonString(out, name);
}

void RecordedCall::Close() { TheRecorder()->calls += ']'; }

void RecordedCall::Put(int v) {
    std::string& out = TheRecorder()->calls;
    out += ',';
    AppendNumber(out, v);
}

void RecordedCall::Put(uint32_t v) {
    std::string& out = TheRecorder()->calls;
    out += ',';
    AppendNumber(out, v);
}

void RecordedCall::Put(double v) {
    std::string& out = TheRecorder()->calls;
    out += ',';
    if (!std::isfinite(v)) {
        out += "null";  // JSON has no such number
        return;
    }
    const size_t start = out.size();
    AppendNumber(out, v);
    if (out.find_first_of(".e", start) == std::string::npos) out += ".0";
}

void RecordedCall::Put(ImageArg a) {
    if (a.handle == -2 || a.handle == -4) return Put(ScreenArg{a.handle});
    AppendNameOrNumber(TheRecorder()->calls, TheRecorder()->imageNames, a.handle);
}

void RecordedCall::Put(SoundArg a) { AppendNameOrNumber(TheRecorder()->calls, TheRecorder()->soundNames, a.handle); }

void RecordedCall::Put(ScreenArg a) {
    if (a.target != -2 && a.target != -4) return Put(a.target);
    TheRecorder()->calls += a.target == -2 ? ",\"back\"" : ",\"front\"";
}

void RecordedCall::Put(TextArg a) {
    std::string& out = TheRecorder()->calls;
    out += ',';
    if (!a.sjis) {
        out += "null";
        return;
    }
    AppendJsonString(out, SjisToUtf8(a.sjis));
}

}  // namespace media
