#pragma once
// The engine's text type: an owned, NUL-terminated 8-bit text with a 32-bit length. The empty
// string holds no buffer, so default construction never allocates.

#include <cstdint>
#include <string_view>

class EngineString {
public:
    EngineString() noexcept = default;
    EngineString(const char* text);  // NOLINT(google-explicit-constructor): texts convert freely
    EngineString(const char* text, uint32_t length);
    explicit EngineString(char c);
    EngineString(int32_t value, int radix);
    EngineString(uint32_t value, int radix);
    EngineString(int16_t value, int radix);
    // `digits` significant digits, shortest form, as printf's %g.
    EngineString(double value, int digits);
    explicit EngineString(std::string_view text);

    EngineString(const EngineString& other);
    EngineString(EngineString&& other) noexcept;
    EngineString& operator=(const EngineString& other);
    EngineString& operator=(EngineString&& other) noexcept;
    ~EngineString();

    const char* c_str() const noexcept { return data_ ? data_ : ""; }
    uint32_t length() const noexcept { return length_; }
    bool empty() const noexcept { return length_ == 0; }
    std::string_view view() const noexcept { return {c_str(), length_}; }
    char operator[](uint32_t i) const noexcept { return data_[i]; }

    EngineString& operator+=(const EngineString& other);

    friend EngineString operator+(const EngineString& a, const EngineString& b);
    friend EngineString operator+(const EngineString& a, const char* b);
    friend EngineString operator+(const char* a, const EngineString& b);
    friend bool operator==(const EngineString& a, const EngineString& b) noexcept { return a.view() == b.view(); }
    friend bool operator==(const EngineString& a, const char* b) noexcept { return a.view() == std::string_view(b); }

    // Names are keys of tables: ordered by their bytes.
    friend bool operator<(const EngineString& a, const EngineString& b) noexcept { return a.view() < b.view(); }

private:
    static EngineString Join(std::string_view a, std::string_view b);
    void Assign(const char* text, uint32_t length);

    char* data_ = nullptr;
    uint32_t length_ = 0;
};

// Equality of 8-bit texts with the letters A to Z folded to lower case, as names are compared
// where the data's spelling of case does not matter.
bool EqualsIgnoreCase(std::string_view a, std::string_view b) noexcept;
