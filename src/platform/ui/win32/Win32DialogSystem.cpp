#include "platform/ui/Dialog.h"
#include "platform/ui/DialogResources.h"
#include "platform/ui/win32/Win32Dialog.h"

namespace ui {
namespace {

static_assert(kDirectXDialog == 129 && kConfigDialog == 132 && IDC_CORNER_PICTURE == 1062,
              "Dialogs.rc gives the templates and the picture control these ids");

class Win32DialogSystem final : public DialogSystem {
public:
    // A Windows session always has its desktop.
    bool Available() override { return true; }

    intptr_t RunModal(int resourceId, uint64_t owner, const DialogProc& proc) override {
        win32::Win32Dialog dialog(proc);
        return dialog.Run(resourceId, static_cast<uintptr_t>(owner));
    }
};

}  // namespace

// Dialogs end on the system's own close requests; nothing needs polling.
void SetCancelRequest(bool (*)()) {}

DialogSystem& PlatformDialogSystem() {
    static Win32DialogSystem system;
    return system;
}

}  // namespace ui
