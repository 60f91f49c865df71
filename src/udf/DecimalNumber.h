#pragma once
// The number reading of the C library's strtod, limited to decimal numbers: leading white space,
// an optional sign, digits with an optional fraction, an optional exponent. Hexadecimal, "inf"
// and "nan" are not numbers here, as in the data files' own platform.

#include <cstddef>
#include <cstdint>
#include <string_view>

// How many characters of `text` form the number (0 when none), and its value.
size_t ScanDecimal(std::string_view text, double& value);

// The double cut toward zero; out of range (or NaN) gives INT32_MIN, the processor's
// "integer indefinite" for such conversions.
int32_t TruncateToInt32(double value);
