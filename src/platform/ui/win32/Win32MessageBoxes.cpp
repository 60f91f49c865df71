#include "platform/ui/DialogResources.h"
#include "platform/ui/MessageBoxes.h"
// After the engine's headers: the system's macros have the same names and numbers.
#include "platform/ui/win32/WideText.h"

namespace ui {
namespace {

// The graphics-check dialog's text control, and where and how large the dialog stands.
constexpr int IDC_DIRECTX_TEXT = 1000;
constexpr int kDirectXX = 300, kDirectXY = 300, kDirectXWidth = 390, kDirectXHeight = 131;

struct DirectXTexts {
    std::string_view text;
    std::string_view downloadButton;
};

INT_PTR CALLBACK DirectXProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        const auto* texts = reinterpret_cast<const DirectXTexts*>(lParam);
        SetDlgItemTextW(window, IDC_DIRECTX_TEXT, win32::WideText(texts->text).c_str());
        SetDlgItemTextW(window, IDOK, win32::WideText(texts->downloadButton).c_str());
        SetWindowPos(window, nullptr, kDirectXX, kDirectXY, kDirectXWidth, kDirectXHeight, SWP_NOZORDER);
        return TRUE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(window, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

}  // namespace

void ShowMessageBox(std::string_view text, std::string_view caption) {
    MessageBoxW(nullptr, win32::WideText(text).c_str(), win32::WideText(caption).c_str(), MB_OK);
}

int ShowDirectXDialog(std::string_view text, std::string_view downloadButton) {
    const DirectXTexts texts{text, downloadButton};
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kDirectXDialog), nullptr,
                                           &DirectXProcedure, reinterpret_cast<LPARAM>(&texts));
    // A template that cannot be shown counts as cancelled: nothing is opened.
    return result == IDOK ? IDOK : IDCANCEL;
}

}  // namespace ui
