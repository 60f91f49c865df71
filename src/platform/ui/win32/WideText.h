#pragma once
// Texts for the system's wide-character calls. The program's texts are UTF-8; what is not valid
// UTF-8 (a path the system gave in its own code page) is read in that code page instead.

#include <windows.h>

#include <string>
#include <string_view>

namespace ui::win32 {

inline std::wstring WideText(std::string_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    UINT codePage = CP_UTF8;
    int length = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    if (length <= 0) {
        codePage = CP_ACP;
        length = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    }
    std::wstring wide(static_cast<size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0) MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), length);
    return wide;
}

}  // namespace ui::win32
