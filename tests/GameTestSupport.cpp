// UTF-8 to Shift-JIS conversion for the game tests.
#include "GameTestSupport.h"

#include <iconv.h>

namespace gametest {

std::string ToShiftJis(const std::string& utf8) {
    iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) return {};
    std::string out(utf8.size() * 2 + 8, '\0');
    char* in = const_cast<char*>(utf8.data());
    size_t inLeft = utf8.size();
    char* dst = out.data();
    size_t outLeft = out.size();
    const size_t rc = iconv(cd, &in, &inLeft, &dst, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<size_t>(-1)) return {};
    out.resize(out.size() - outLeft);
    return out;
}

}  // namespace gametest
