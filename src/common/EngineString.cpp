#include "common/EngineString.h"

#include <cstdio>
#include <cstring>
#include <utility>

namespace {

// Digits of an unsigned value in radix 2..36, lower-case letters as the C library's itoa.
EngineString FormatUnsigned(uint64_t value, int radix, bool negative) {
    if (radix < 2 || radix > 36) radix = 10;
    char buffer[72];
    char* end = buffer + sizeof buffer;
    char* p = end;
    do {
        const int digit = static_cast<int>(value % static_cast<unsigned>(radix));
        *--p = static_cast<char>(digit < 10 ? '0' + digit : 'a' + digit - 10);
        value /= static_cast<unsigned>(radix);
    } while (value != 0);
    if (negative) *--p = '-';
    return EngineString(p, static_cast<uint32_t>(end - p));
}

// A negative number keeps its sign only in decimal; other radices show the two's-complement bits.
EngineString FormatSigned(int64_t value, uint64_t bits, int radix) {
    if (radix == 10 && value < 0) return FormatUnsigned(0 - static_cast<uint64_t>(value), radix, true);
    return FormatUnsigned(value < 0 ? bits : static_cast<uint64_t>(value), radix, false);
}

}  // namespace

EngineString::EngineString(const char* text) {
    if (text) Assign(text, static_cast<uint32_t>(std::strlen(text)));
}

EngineString::EngineString(const char* text, uint32_t length) {
    if (text) Assign(text, length);
}

EngineString::EngineString(char c) { Assign(&c, 1); }

EngineString::EngineString(std::string_view text) { Assign(text.data(), static_cast<uint32_t>(text.size())); }

EngineString::EngineString(int32_t value, int radix)
    : EngineString(FormatSigned(value, static_cast<uint32_t>(value), radix)) {}

EngineString::EngineString(uint32_t value, int radix) : EngineString(FormatUnsigned(value, radix, false)) {}

EngineString::EngineString(int16_t value, int radix)
    : EngineString(FormatSigned(value, static_cast<uint16_t>(value), radix)) {}

EngineString::EngineString(double value, int digits) {
    char buffer[64];
    const int n = std::snprintf(buffer, sizeof buffer, "%.*g", digits < 1 ? 1 : digits, value);
    Assign(buffer, static_cast<uint32_t>(n));
}

EngineString::EngineString(const EngineString& other) { Assign(other.data_, other.length_); }

EngineString::EngineString(EngineString&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), length_(std::exchange(other.length_, 0)) {}

EngineString& EngineString::operator=(const EngineString& other) {
    if (this != &other) {
        EngineString copy(other);
        *this = std::move(copy);
    }
    return *this;
}

EngineString& EngineString::operator=(EngineString&& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(length_, other.length_);
    return *this;
}

EngineString::~EngineString() { delete[] data_; }

void EngineString::Assign(const char* text, uint32_t length) {
    if (length == 0) return;
    data_ = new char[length + 1];
    std::memcpy(data_, text, length);
    data_[length] = '\0';
    length_ = length;
}

EngineString EngineString::Join(std::string_view a, std::string_view b) {
    EngineString result;
    const uint32_t length = static_cast<uint32_t>(a.size() + b.size());
    if (length == 0) return result;
    result.data_ = new char[length + 1];
    if (!a.empty()) std::memcpy(result.data_, a.data(), a.size());
    if (!b.empty()) std::memcpy(result.data_ + a.size(), b.data(), b.size());
    result.data_[length] = '\0';
    result.length_ = length;
    return result;
}

EngineString& EngineString::operator+=(const EngineString& other) { return *this = Join(view(), other.view()); }

EngineString operator+(const EngineString& a, const EngineString& b) { return EngineString::Join(a.view(), b.view()); }
EngineString operator+(const EngineString& a, const char* b) { return EngineString::Join(a.view(), b ? b : ""); }
EngineString operator+(const char* a, const EngineString& b) { return EngineString::Join(a ? a : "", b.view()); }

bool EqualsIgnoreCase(std::string_view a, std::string_view b) noexcept {
    if (a.size() != b.size()) return false;
    const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (size_t i = 0; i < a.size(); ++i)
        if (fold(a[i]) != fold(b[i])) return false;
    return true;
}
