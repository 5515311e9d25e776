#include "objects/graphics/WordPicture.h"

#include <filesystem>

#include "media/core/Log.h"
#include "objects/graphics/Language.h"

std::string WordPicture(const char* name) {
    if (GameLanguage() == Language::Japanese) return name;
    const std::string english = std::string("en/") + name;
    std::error_code error;
    if (std::filesystem::is_regular_file("image/" + english, error)) return english;
    media::LogPrintf("English picture image/%s is missing: image/%s is shown\n", english.c_str(), name);
    return name;
}
