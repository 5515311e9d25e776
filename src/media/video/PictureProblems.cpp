#include "media/video/PictureProblems.h"

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "media/core/OperationLock.h"

namespace media {

namespace {

constexpr int kKinds = static_cast<int>(PictureProblem::CannotBeCut) + 1;

// What each kind of failure says of one picture and of several.
struct Wording {
    const char* one;
    const char* several;
};
constexpr Wording kWording[kKinds] = {
    {"is missing", "are missing"},
    {"cannot be read", "cannot be read"},
    {"cannot be decoded as BMP, PNG or JPEG", "cannot be decoded as BMP, PNG or JPEG"},
    {"is too large to load", "are too large to load"},
    {"is smaller than the cells it is cut into", "are smaller than the cells they are cut into"},
};

struct Noted {
    std::set<std::string> told;                // every picture noted in this run
    std::vector<std::string> waiting[kKinds];  // noted, not told yet
};

Noted& TheNoted() {
    static auto* noted = new Noted();  // lives until process exit
    return *noted;
}

}  // namespace

void NotePictureProblem(const char* path, PictureProblem problem) {
    OperationGuard guard;
    Noted& noted = TheNoted();
    if (noted.told.insert(path).second) noted.waiting[static_cast<int>(problem)].push_back(path);
}

void TellPictureProblems() {
    OperationGuard guard;
    for (int kind = 0; kind < kKinds; ++kind) {
        std::vector<std::string>& paths = TheNoted().waiting[kind];
        if (paths.empty()) continue;
        const bool one = paths.size() == 1;
        std::string list;
        for (const std::string& path : paths) list += (list.empty() ? "" : ", ") + path;
        std::fprintf(stderr, "anagura: %s %s %s: nothing is drawn in %s place\n", one ? "picture" : "pictures",
                     list.c_str(), one ? kWording[kind].one : kWording[kind].several, one ? "its" : "their");
        paths.clear();
    }
}

}  // namespace media
