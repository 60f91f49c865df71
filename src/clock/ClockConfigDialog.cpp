// The configuration dialog's picture controls: the path of the picture shown in the frame.

#include <string>

#include "clock/ClockApplication.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/DialogResources.h"

namespace {

constexpr const char* kPictureFilter = "(*.jpg;*.tga;*.bmp;*.gif;*.png)|*.jpg;*.tga;*.bmp;*.gif;*.png|";
// The settings store reads the path back with at most 256 bytes; this always fits.
constexpr size_t kMaxPathBytes = 200;

// At most kMaxPathBytes bytes, never ending inside a UTF-8 character.
std::string CutPath(std::string path) {
    if (path.size() <= kMaxPathBytes) return path;
    size_t end = kMaxPathBytes;
    while (end > 0 && (static_cast<unsigned char>(path[end]) & 0xC0) == 0x80) --end;
    path.resize(end);
    return path;
}

}  // namespace

intptr_t ClockApplication::ConfigDialogProc(ui::Dialog* dialog, uint32_t message, sys::WParam wParam,
                                            sys::LParam lParam) {
    if (dialog && message == ui::WM_INITDIALOG) dialog->SetItemText(ui::IDC_PATH, photoPath_.view());
    if (dialog && message == ui::WM_COMMAND && ui::HighWord(wParam) == ui::BN_CLICKED) {
        switch (ui::LowWord(wParam)) {
            case ui::IDC_BROWSE: {
                std::string path(photoPath_.view());
                if (dialog->ChooseFileToOpen(kPictureFilter, path)) {
                    photoPath_ = EngineString(path);
                    dialog->SetItemText(ui::IDC_PATH, path);
                }
                break;
            }
            case ui::IDC_RESTORE_PICTURE:
                photoPath_ = EngineString();
                dialog->SetItemText(ui::IDC_PATH, "");
                break;
            case ui::IDOK: photoPath_ = EngineString(CutPath(dialog->GetItemText(ui::IDC_PATH))); break;
            default: break;
        }
    }
    return Application::ConfigDialogProc(dialog, message, wParam, lParam);
}
