#include "media/core/ShortestDouble.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace media {

namespace {

struct Digits {
    std::string digits;  // significant digits, no trailing zeros
    int exponent = 0;    // of the first digit: d.ddd x 10^exponent
};

// The fewest significant digits that read back as `v` (v > 0).
Digits ShortestDigits(double v) {
    char text[40];
    for (int precision = 1;; ++precision) {
        std::snprintf(text, sizeof text, "%.*e", precision - 1, v);
        if (std::strtod(text, nullptr) == v || precision == 17) break;
    }
    Digits d;
    char* mark = text;
    for (; *mark != 'e'; ++mark)
        if (*mark != '.') d.digits += *mark;
    d.exponent = std::atoi(mark + 1);
    while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
    return d;
}

std::string Scientific(const Digits& d) {
    std::string text(1, d.digits[0]);
    if (d.digits.size() > 1) text += "." + d.digits.substr(1);
    const int magnitude = d.exponent < 0 ? -d.exponent : d.exponent;
    text += d.exponent < 0 ? "e-" : "e+";
    if (magnitude < 10) text += '0';
    return text + std::to_string(magnitude);
}

// A whole number (its digits end before the point) is written exactly, as
// std::to_chars does, not as its shortest digits filled up with zeros.
std::string Fixed(const Digits& d, double v) {
    const int count = static_cast<int>(d.digits.size());
    if (d.exponent < 0) return "0." + std::string(-d.exponent - 1, '0') + d.digits;
    if (count <= d.exponent + 1) {
        char text[320];
        std::snprintf(text, sizeof text, "%.0f", v);
        return text;
    }
    return d.digits.substr(0, d.exponent + 1) + "." + d.digits.substr(d.exponent + 1);
}

}  // namespace

std::string ShortestDoubleText(double v) {
    if (v == 0) return std::signbit(v) ? "-0" : "0";
    const std::string sign = v < 0 ? "-" : "";
    const double magnitude = v < 0 ? -v : v;
    const Digits d = ShortestDigits(magnitude);
    const std::string fixed = Fixed(d, magnitude);
    const std::string scientific = Scientific(d);
    return sign + (scientific.size() < fixed.size() ? scientific : fixed);
}

}  // namespace media
