// The program's single application object is the clock's.

#include <memory>

#include "clock/ClockApplication.h"

namespace {
std::unique_ptr<ClockApplication> g_app;
}

Application* GetApp() {
    if (!g_app) g_app = std::make_unique<ClockApplication>();
    return g_app.get();
}

void DestroyApp() { g_app.reset(); }
