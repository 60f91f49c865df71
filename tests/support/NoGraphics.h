#pragma once
// Keeps the graphics device away from shell tests that stand in for it themselves: Direct3D
// cannot be created while the object lives, so Application::Create stops at the framework.

#include "platform/gfx/Direct3D.h"

class NoGraphics {
public:
    NoGraphics() {
        gfx::SetDirect3DFactory([](uint32_t) { return gfx::Ref<gfx::Direct3D>(); });
    }
    ~NoGraphics() { gfx::SetDirect3DFactory(nullptr); }
    NoGraphics(const NoGraphics&) = delete;
    NoGraphics& operator=(const NoGraphics&) = delete;
};
