// A sound handle's entry: a buffered or a streamed sound, played by the mixer.
#pragma once

#include <cstdint>
#include <string>

namespace media {

class Sound {
public:
    virtual ~Sound() = default;
    // playType 1 once, 3 loop (0 is played as once; the caller waits). Always starts
    // unless fromTop is 0 and the sound already plays.
    virtual void Play(int playType, bool fromTop) = 0;
    // Stops every buffer or the stream.
    virtual void Stop() = 0;
    // True while any of its buffers or its stream plays.
    virtual bool IsPlaying() = 0;
    // Applies a level in hundredths of a decibel to everything it plays.
    virtual void SetLevel(int hundredthsDb) = 0;
    // Decodes ahead until the ring is full (streams only).
    virtual void Feed() {}
    // Decodes one piece ahead (streams only); true while it wants more.
    virtual bool FeedPiece() { return false; }
    // True when it plays and its ring has run below half (streams only).
    virtual bool Hungry() { return false; }

    // How it was loaded, so that it can be loaded again: its file, its buffers, its mode.
    std::string path;
    int bufferCount = 0;
    int dataMode = 0;  // the sound data mode it was loaded in
    int level = 0;     // hundredths of a decibel
    int lastPlayType = 1;
    uint32_t lastStartMillis = 0;
};

}  // namespace media
