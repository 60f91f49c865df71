#pragma once
// Modal dialogs with the platform's model: a dialog procedure receives WM_INITDIALOG, then
// WM_COMMAND for buttons and WM_HSCROLL for sliders, and drives the controls by their ids through
// a Dialog. The Linux implementation (ui/gtk) builds the windows with GTK 3.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "platform/sys/Messages.h"

namespace ui {

constexpr uint32_t WM_INITDIALOG = 0x0110;
// wParam: the control id in the low 16 bits, the notification in the high 16 bits.
constexpr uint32_t WM_COMMAND = 0x0111;
// lParam: the id of the slider that moved.
constexpr uint32_t WM_HSCROLL = 0x0114;
constexpr uint16_t BN_CLICKED = 0;

constexpr uint16_t LowWord(sys::WParam value) { return static_cast<uint16_t>(value & 0xFFFF); }
constexpr uint16_t HighWord(sys::WParam value) { return static_cast<uint16_t>((value >> 16) & 0xFFFF); }
constexpr sys::WParam CommandParam(int id, uint16_t notification = BN_CLICKED) {
    return (static_cast<sys::WParam>(notification) << 16) | static_cast<uint16_t>(id);
}

// One shown dialog, as its procedure sees it. Setting a control's state from here sends no
// notification back, as with the platform's own calls.
class Dialog {
public:
    virtual ~Dialog() = default;

    virtual void SetCaption(std::string_view text) = 0;
    // Caption of a label, button, check box or group; the text of an edit box.
    virtual void SetItemText(int id, std::string_view text) = 0;
    virtual std::string GetItemText(int id) const = 0;
    virtual void EnableItem(int id, bool enabled) = 0;
    // Check boxes and radio buttons.
    virtual void CheckItem(int id, bool checked) = 0;
    virtual bool IsItemChecked(int id) const = 0;
    virtual void SetSliderRange(int id, int minimum, int maximum) = 0;
    virtual void SetSliderPos(int id, int position) = 0;
    virtual int GetSliderPos(int id) const = 0;
    // Drop-down lists: entries by index; a selection of -1 is none.
    virtual void ClearList(int id) = 0;
    virtual void AddListEntry(int id, std::string_view text) = 0;
    virtual void SetListSelection(int id, int index) = 0;
    virtual int GetListSelection(int id) const = 0;
    // A picture control shows a bitmap (BMP bytes).
    virtual void SetItemPicture(int id, std::span<const uint8_t> bitmap) = 0;

    // The file-open chooser over the dialog, existing files only. `filter` has the platform's
    // form: pairs of name and ";"-separated patterns, each followed by "|". False when cancelled.
    virtual bool ChooseFileToOpen(std::string_view filter, std::string& path) = 0;
    // A message box over the dialog with one OK button.
    virtual void MessageBox(std::string_view text, std::string_view caption) = 0;
    // Closes the dialog once the current message is handled; RunModal returns `result`.
    virtual void End(intptr_t result) = 0;
};

using DialogProc = std::function<intptr_t(Dialog& dialog, uint32_t message, sys::WParam wParam, sys::LParam lParam)>;

class DialogSystem {
public:
    virtual ~DialogSystem() = default;
    // Whether there is a display to show dialogs on.
    virtual bool Available() = 0;
    // Shows dialog `resourceId` modally, over window `owner` (an X11 window id; 0 for none), and
    // returns the result given to End, or -1 when it could not be shown.
    virtual intptr_t RunModal(int resourceId, uint64_t owner, const DialogProc& proc) = 0;
};

// Polled while dialogs and message boxes are shown: when it says yes (the system asks the
// program to end) every open one is cancelled, and later message boxes only print their text.
void SetCancelRequest(bool (*takeRequest)());

DialogSystem& GetDialogSystem();
void SetDialogSystem(DialogSystem* system);  // null restores the platform's

}  // namespace ui
