#pragma once
// A dialog made from its template in the executable's resources, as its procedure sees it. The
// system's messages are passed on in the engine's form: WM_HSCROLL carries the slider's id.
// <windows.h> stays out: its macros would replace the engine's names of the same messages.

#include <vector>

#include "platform/ui/Dialog.h"

namespace ui::win32 {

class Win32Dialog final : public Dialog {
public:
    explicit Win32Dialog(const DialogProc& proc) : proc_(proc) {}
    ~Win32Dialog() override;

    // Shows template `resourceId` over `owner` until a button ends it; -1 when it cannot be shown.
    intptr_t Run(int resourceId, uintptr_t owner);
    // One message of the shown dialog `window`, in the system's form; the system's procedure
    // (Win32Dialog.cpp) calls it.
    intptr_t Handle(void* window, uint32_t message, uintptr_t wParam, intptr_t lParam);

    void SetCaption(std::string_view text) override;
    void SetItemText(int id, std::string_view text) override;
    std::string GetItemText(int id) const override;
    void EnableItem(int id, bool enabled) override;
    void CheckItem(int id, bool checked) override;
    bool IsItemChecked(int id) const override;
    void SetSliderRange(int id, int minimum, int maximum) override;
    void SetSliderPos(int id, int position) override;
    int GetSliderPos(int id) const override;
    void ClearList(int id) override;
    void AddListEntry(int id, std::string_view text) override;
    void SetListSelection(int id, int index) override;
    int GetListSelection(int id) const override;
    void SetItemPicture(int id, std::span<const uint8_t> bitmap) override;
    bool ChooseFileToOpen(std::string_view filter, std::string& path) override;
    void MessageBox(std::string_view text, std::string_view caption) override;
    void End(intptr_t result) override;

private:
    void* Item(int id) const;

    const DialogProc& proc_;
    void* window_ = nullptr;
    std::vector<void*> bitmaps_;  // shown by picture controls until the dialog is gone
};

}  // namespace ui::win32
