#include "platform/ui/Dialog.h"
#include "support/win32/Missing.h"

namespace ui {

DialogSystem& PlatformDialogSystem() { MissingOnWindows("ui::DialogSystem"); }

}  // namespace ui
