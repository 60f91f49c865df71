#include "platform/ui/win32/Win32Dialog.h"

#include <cstring>

// After the engine's headers: the system's macros have the same names and numbers.
#include "platform/ui/win32/WideText.h"

#include <commctrl.h>
#include <commdlg.h>

#undef MessageBox

namespace ui::win32 {
namespace {

constexpr size_t kFileHeaderBytes = 14;
constexpr size_t kPathBytes = MAX_PATH;

template <typename T>
T ReadAt(std::span<const uint8_t> bytes, size_t offset) {
    T value{};
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

// A bitmap from the bytes of a BMP file, or of a bitmap resource (the same without the file
// header); null when they do not hold a whole uncompressed one, so a damaged resource shows no
// picture rather than reading past its end.
HBITMAP BitmapFromBytes(std::span<const uint8_t> bytes) {
    const bool file = bytes.size() >= kFileHeaderBytes && bytes[0] == 'B' && bytes[1] == 'M';
    const size_t infoAt = file ? kFileHeaderBytes : 0;
    if (bytes.size() < infoAt + sizeof(BITMAPINFOHEADER)) return nullptr;
    const auto info = ReadAt<BITMAPINFOHEADER>(bytes, infoAt);
    const uint64_t bits = info.biBitCount;
    if (info.biSize < sizeof(BITMAPINFOHEADER) || info.biCompression != BI_RGB || info.biWidth <= 0 ||
        info.biHeight == 0 || info.biHeight == INT32_MIN ||
        (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32))
        return nullptr;
    const uint64_t colours = bits <= 8 ? (info.biClrUsed ? info.biClrUsed : uint64_t{1} << bits) : 0;
    if (colours > 256) return nullptr;
    const uint64_t infoEnd = infoAt + uint64_t{info.biSize} + colours * sizeof(RGBQUAD);
    const uint64_t pixelsAt = file ? ReadAt<uint32_t>(bytes, 10) : infoEnd;
    const uint64_t stride = (static_cast<uint64_t>(info.biWidth) * bits + 31) / 32 * 4;
    const uint64_t rows = static_cast<uint64_t>(info.biHeight < 0 ? -int64_t{info.biHeight} : info.biHeight);
    if (infoEnd > pixelsAt || pixelsAt > bytes.size() || stride * rows > bytes.size() - pixelsAt) return nullptr;
    HDC screen = GetDC(nullptr);
    const auto* header = reinterpret_cast<const BITMAPINFO*>(bytes.data() + infoAt);
    HBITMAP bitmap =
        CreateDIBitmap(screen, &header->bmiHeader, CBM_INIT, bytes.data() + pixelsAt, header, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

// The engine's filter form ("name|patterns|...|") in the system's (each part ended by a zero).
std::string SystemFilter(std::string_view filter) {
    std::string result(filter);
    for (char& c : result)
        if (c == '|') c = '\0';
    result.push_back('\0');
    return result;
}

INT_PTR CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) SetWindowLongPtrA(window, DWLP_USER, lParam);
    auto* dialog = reinterpret_cast<Win32Dialog*>(GetWindowLongPtrA(window, DWLP_USER));
    return dialog ? dialog->Handle(window, message, wParam, lParam) : FALSE;
}

HWND AsWindow(void* window) { return static_cast<HWND>(window); }

}  // namespace

Win32Dialog::~Win32Dialog() {
    for (void* bitmap : bitmaps_) DeleteObject(static_cast<HBITMAP>(bitmap));
}

void* Win32Dialog::Item(int id) const { return GetDlgItem(AsWindow(window_), id); }

intptr_t Win32Dialog::Run(int resourceId, uintptr_t owner) {
    // The sliders are the common controls' trackbars.
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId),
                           reinterpret_cast<HWND>(owner), &DialogProcedure, reinterpret_cast<LPARAM>(this));
}

intptr_t Win32Dialog::Handle(void* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (message == WM_INITDIALOG) {
        window_ = window;
        proc_(*this, WM_INITDIALOG, 0, 0);
        return TRUE;  // the system puts the focus on the first control
    }
    if (message == WM_COMMAND) return proc_(*this, WM_COMMAND, wParam, 0) ? TRUE : FALSE;
    if (message == WM_HSCROLL) {
        const int id = lParam ? GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) : 0;
        return proc_(*this, WM_HSCROLL, wParam, id) ? TRUE : FALSE;
    }
    return FALSE;
}

void Win32Dialog::SetCaption(std::string_view text) { SetWindowTextW(AsWindow(window_), WideText(text).c_str()); }

void Win32Dialog::SetItemText(int id, std::string_view text) { SetWindowTextW(static_cast<HWND>(Item(id)), WideText(text).c_str()); }

std::string Win32Dialog::GetItemText(int id) const {
    // In the system's code page, as the file chooser gives paths and the file calls take them.
    HWND item = static_cast<HWND>(Item(id));
    std::string text(static_cast<size_t>(GetWindowTextLengthA(item)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(item, text.data(), static_cast<int>(text.size()))));
    return text;
}

void Win32Dialog::EnableItem(int id, bool enabled) { EnableWindow(static_cast<HWND>(Item(id)), enabled ? TRUE : FALSE); }

void Win32Dialog::CheckItem(int id, bool checked) { CheckDlgButton(AsWindow(window_), id, checked ? BST_CHECKED : BST_UNCHECKED); }

bool Win32Dialog::IsItemChecked(int id) const { return IsDlgButtonChecked(AsWindow(window_), id) == BST_CHECKED; }

void Win32Dialog::SetSliderRange(int id, int minimum, int maximum) {
    SendMessageA(static_cast<HWND>(Item(id)), TBM_SETRANGEMIN, FALSE, minimum);
    SendMessageA(static_cast<HWND>(Item(id)), TBM_SETRANGEMAX, TRUE, maximum);
}

void Win32Dialog::SetSliderPos(int id, int position) { SendMessageA(static_cast<HWND>(Item(id)), TBM_SETPOS, TRUE, position); }

int Win32Dialog::GetSliderPos(int id) const { return static_cast<int>(SendMessageA(static_cast<HWND>(Item(id)), TBM_GETPOS, 0, 0)); }

void Win32Dialog::ClearList(int id) { SendMessageA(static_cast<HWND>(Item(id)), CB_RESETCONTENT, 0, 0); }

void Win32Dialog::AddListEntry(int id, std::string_view text) {
    SendMessageW(static_cast<HWND>(Item(id)), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideText(text).c_str()));
}

void Win32Dialog::SetListSelection(int id, int index) { SendMessageA(static_cast<HWND>(Item(id)), CB_SETCURSEL, index, 0); }

int Win32Dialog::GetListSelection(int id) const { return static_cast<int>(SendMessageA(static_cast<HWND>(Item(id)), CB_GETCURSEL, 0, 0)); }

void Win32Dialog::SetItemPicture(int id, std::span<const uint8_t> bitmap) {
    HBITMAP picture = BitmapFromBytes(bitmap);
    if (!picture) return;
    bitmaps_.push_back(picture);
    SendMessageA(static_cast<HWND>(Item(id)), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
}

bool Win32Dialog::ChooseFileToOpen(std::string_view filter, std::string& path) {
    const std::string systemFilter = SystemFilter(filter);
    char chosen[kPathBytes] = {};
    OPENFILENAMEA request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = AsWindow(window_);
    request.lpstrFilter = systemFilter.c_str();
    request.nFilterIndex = 1;
    request.lpstrFile = chosen;
    request.nMaxFile = sizeof chosen;
    // Existing files only; the program's working folder stays where it was.
    request.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER;
    if (!GetOpenFileNameA(&request)) return false;
    path = chosen;
    return true;
}

void Win32Dialog::MessageBox(std::string_view text, std::string_view caption) {
    MessageBoxW(AsWindow(window_), WideText(text).c_str(), WideText(caption).c_str(), MB_OK);
}

void Win32Dialog::End(intptr_t result) { EndDialog(AsWindow(window_), result); }

}  // namespace ui::win32
