#include "platform/ui/Dialog.h"

#include "platform/sys/Installable.h"

namespace ui {

DialogSystem& PlatformDialogSystem();  // the platform's implementation, linked in

DialogSystem& GetDialogSystem() { return sys::Installable<DialogSystem, PlatformDialogSystem>::Get(); }

void SetDialogSystem(DialogSystem* system) { sys::Installable<DialogSystem, PlatformDialogSystem>::Set(system); }

}  // namespace ui
