#pragma once
// The picture shown while the saver loads: the startup picture over the whole screen with the
// corner logos whose resources hold real pictures, drawn as screen-space quads, later faded to
// black.

#include <array>
#include <cstdint>

#include "media/Manifest.h"
#include "platform/gfx/Device.h"

class Texture;
class TextureManager;

class StartupPicture {
public:
    static constexpr int kPictureId = manifest::kStartupPicture.id;
    // The logo of each corner slot 1 to 4.
    static constexpr std::array<int, 4> kLogoIds{manifest::kLogoBottomRight.id, manifest::kLogoBottomLeft.id,
                                                 manifest::kLogoTopLeft.id, manifest::kLogoTopRight.id};

    StartupPicture() = default;
    ~StartupPicture() { Release(); }
    StartupPicture(const StartupPicture&) = delete;
    StartupPicture& operator=(const StartupPicture&) = delete;

    // A logo is on when its "MEMFILE" resource is larger than 1024 bytes (a build switches a
    // logo off with a small placeholder). Probed in the order of slots 1, 4, 2, 3.
    void ProbeCornerLogos();
    bool LogoShown(int slot) const { return slot >= 1 && slot <= 4 && logoShown_[slot - 1]; }

    // Loads the picture and the four logos from the resources.
    void Load(TextureManager& textures);
    void Release();

    struct Box {
        float x0, y0, x1, y1;
        friend bool operator==(const Box&, const Box&) = default;
    };
    // Where slot 0 (the picture) or slots 1 to 4 (the logos: bottom right, bottom left, top left,
    // top right) lie on a `width` x `height` back buffer; slot 0 fills it with `fullScreen`, else
    // its middle half.
    static Box QuadBox(int slot, bool fullScreen, uint32_t width, uint32_t height);

    // Draws the picture or a logo into its box, `opacity` over black.
    void DrawQuad(gfx::Device& device, int slot, bool fullScreen, float opacity, uint32_t width,
                  uint32_t height) const;
    // The first frame's content: the picture full screen, then each logo that is on.
    void DrawFirstFrame(gfx::Device& device, uint32_t width, uint32_t height) const;

private:
    std::array<Texture*, 5> textures_{};  // slot order: the picture, then the logos of kLogoIds
    std::array<bool, 4> logoShown_{};
};
