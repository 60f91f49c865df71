#include "overlay/WindowManager.h"

bool WindowManager::LoadFont(const EngineString& path, const MediaFiles& media, TextureManager& textures) {
    auto font = std::make_unique<Font>();
    if (!font->Load(path, media, textures)) return false;
    fonts_.push_back(std::move(font));
    return true;
}

const Font* WindowManager::FindFont(std::string_view name) const {
    for (const auto& font : fonts_)
        if (EqualsIgnoreCase(font->Name().view(), name)) return font.get();
    return nullptr;
}

void WindowManager::Draw(gfx::Device& device, int width, int height) {
    screenWidth_ = width;
    screenHeight_ = height;
    batch_.Begin();
    for (const auto& window : windows_)
        if (window->Visible()) window->Draw(batch_, width, height);
    batch_.Flush(device);
}

void WindowManager::OnPointerEvent(const PointerEvent& event) {
    const auto x = static_cast<int>(event.x), y = static_cast<int>(event.y);
    for (auto window = windows_.rbegin(); window != windows_.rend(); ++window) {
        if (!(*window)->Visible()) continue;
        const OverlayWindow::Box box = (*window)->ScreenBox(screenWidth_, screenHeight_);
        if (x >= box.left && x < box.left + box.width && y >= box.top && y < box.top + box.height) {
            (*window)->OnInput(event);
            return;
        }
    }
}
