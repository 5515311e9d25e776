// UTF-8 test strings converted to Shift-JIS (code page 932) at run time.
#pragma once

#include <iconv.h>

#include <string>

namespace testtext {

inline std::string ToSjis(const std::string& utf8) {
    iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) return {};
    std::string out(utf8.size() * 2 + 4, '\0');
    char* in = const_cast<char*>(utf8.data());
    size_t inLeft = utf8.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    const size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (result == static_cast<size_t>(-1)) return {};
    out.resize(out.size() - outLeft);
    return out;
}

}  // namespace testtext
