// The configuration run of the saver with the real dialog, Direct3D 9 and registry, for the key
// tests (config_dialog.sh): only the saver window and the desktop services are stand-ins.

#include "clock/ClockApplication.h"
#include "platform/gfx/Direct3D.h"
#include "support/FakeSystem.h"
#include "support/FakeWindowSystem.h"

int main() {
    gfx::SetDirect3DFactory(&gfx::PlatformDirect3DCreate9);
    FakeSystem system;
    FakeWindowSystem windows;
    ClockApplication app;
    return app.Create(nullptr, RunMode::Configure, 0) ? 0 : 1;
}
