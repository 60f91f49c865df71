#include "udf/DecimalNumber.h"

#include <cstdlib>
#include <string>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

size_t SkipDigits(std::string_view text, size_t i) {
    while (i < text.size() && IsDigit(text[i])) ++i;
    return i;
}

}  // namespace

size_t ScanDecimal(std::string_view text, double& value) {
    value = 0.0;
    size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) ++i;
    const size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const size_t integerStart = i;
    i = SkipDigits(text, i);
    size_t digits = i - integerStart;
    if (i < text.size() && text[i] == '.') {
        const size_t fractionStart = i + 1;
        const size_t fractionEnd = SkipDigits(text, fractionStart);
        digits += fractionEnd - fractionStart;
        if (digits > 0) i = fractionEnd;
    }
    if (digits == 0) return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t e = i + 1;
        if (e < text.size() && (text[e] == '+' || text[e] == '-')) ++e;
        const size_t exponentEnd = SkipDigits(text, e);
        if (exponentEnd > e) i = exponentEnd;  // an exponent needs a digit
    }
    // The accepted text is plain decimal, which strtod reads exactly the same way.
    const std::string number(text.substr(start, i - start));
    value = std::strtod(number.c_str(), nullptr);
    return i;
}

int32_t TruncateToInt32(double value) {
    if (!(value > -2147483649.0 && value < 2147483648.0)) return INT32_MIN;
    return static_cast<int32_t>(value);
}
