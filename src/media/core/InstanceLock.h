// A per-user lock file held with flock: the kernel releases it when the process
// ends, however it ends. Used for the single-instance check. Beside it the
// holder keeps a doorbell (a named pipe) that a refused copy rings to ask the
// running one to show itself.
#pragma once

#include <string>

namespace media {

class InstanceLock {
public:
    ~InstanceLock() { Release(); }
    // Takes the lock named `name`; false when another process holds it. A lock
    // file that cannot be made at all does not stop the program (true). True
    // at once while this one holds it.
    bool Acquire(const std::string& name);
    void Release();
    // True when the doorbell was rung since the last call (each ring counts once).
    bool ShowRequested();
    // Rings the doorbell of the process holding the lock named `name`; nothing
    // when there is none.
    static void AskHolderToShow(const std::string& name);
    // Where the lock file of `name` lives: $XDG_RUNTIME_DIR, else /tmp with the user id.
    static std::string PathOf(const std::string& name);

private:
    void OpenDoorbell();

    int m_fd = -1;
    int m_bell = -1;  // the doorbell's reading end, non-blocking
    std::string m_bellPath;
};

}  // namespace media
