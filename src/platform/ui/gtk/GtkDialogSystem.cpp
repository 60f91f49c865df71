#include "platform/ui/Dialog.h"
#include "platform/ui/gtk/GtkDialogWindow.h"
#include "platform/ui/gtk/GtkSession.h"

namespace ui {
namespace {

class GtkDialogSystem final : public DialogSystem {
public:
    bool Available() override { return gtk::StartGtk(); }

    intptr_t RunModal(int resourceId, uint64_t owner, const DialogProc& proc) override {
        if (!gtk::StartGtk()) return -1;
        gtk::GtkDialogWindow window(proc, owner);
        if (!gtk::BuildDialogResource(resourceId, window)) return -1;
        return window.Run();
    }
};

}  // namespace

DialogSystem& PlatformDialogSystem() {
    static GtkDialogSystem system;
    return system;
}

}  // namespace ui
