// The failed graphics check's dialog from its template, for the key tests (directx_dialog.sh):
// the exit code is the button chosen.

#include "platform/sys/GraphicsHelp.h"
#include "platform/ui/MessageBoxes.h"

int main() {
    const sys::GraphicsHelp& help = sys::PlatformGraphicsHelp();
    return ui::ShowDirectXDialog(help.checkText, help.downloadButton);
}
