// A per-user lock file held with flock: the kernel releases it when the process
// ends, however it ends. Used for the single-instance check.
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
    // Where the lock file of `name` lives: $XDG_RUNTIME_DIR, else /tmp with the user id.
    static std::string PathOf(const std::string& name);

private:
    int fd_ = -1;
};

}  // namespace media
