#pragma once
// One image, or one area of an image (a sub-texture), or a frame animation over the sub-textures
// of an image (an animation player). Textures are counted references, made and shared by the
// TextureManager; each keeps what it needs to build its device texture again after a reset.

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "common/EngineString.h"
#include "common/math/Math.h"
#include "platform/gfx/Device.h"
#include "platform/gfx/Object.h"
#include "platform/gfx/Resources.h"
#include "platform/gfx/Types.h"
#include "platform/gfx/loader/TextureLoader.h"
#include "resources/ByteBlock.h"

class TextureManager;
class UdfTextNode;

// A texture-coordinate matrix with its kind word: 7 for the identity, 0 for a general matrix.
struct TextureMatrix {
    math::Mat4 m;
    uint32_t kind = 7;
};

// Texture coordinates of an area, 0 to 1 across the whole image.
struct TextureRect {
    float left = 0, top = 0, right = 1, bottom = 1;
    friend bool operator==(const TextureRect&, const TextureRect&) = default;
};

struct TextureSize {
    uint32_t width = 0, height = 0;
    friend bool operator==(const TextureSize&, const TextureSize&) = default;
};

// The device textures are made on, shared by a manager and its textures, so a device made anew
// reaches every texture at once.
struct TextureDevice {
    gfx::Ref<gfx::Device> device;
};

// Animation name -> frame names (names of sub-textures), in order.
struct NameLess {
    bool operator()(const EngineString& a, const EngineString& b) const { return a.view() < b.view(); }
};
using AnimationMap = std::map<EngineString, std::vector<EngineString>, NameLess>;

class Texture {
public:
    enum InitFlags : uint32_t {
        kKeepData = 0x01,   // keep the file's bytes and build from memory
        kKeepName = 0x02,   // keep only the file name and build from the file
        kReferData = 0x04,  // build from bytes somebody else keeps
        kEmpty = 0x08,      // an empty texture
        kDeferred = 0x10,   // no device texture is made or restored
    };

    explicit Texture(std::shared_ptr<TextureDevice> device);
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    // Rebuild after a device reset; release before one.
    virtual bool Restore();
    virtual bool Invalidate();
    virtual ~Texture();

    // A sub-texture's references also hold its parent, which owns it.
    uint32_t AddRef();
    uint32_t Release();
    uint32_t RefCount() const { return refs_; }

    bool CreateFromFile(const EngineString& name, uint32_t initFlags, uint32_t width, uint32_t height,
                        uint32_t levels, uint32_t usage, gfx::D3DFORMAT format, gfx::D3DPOOL pool, uint32_t filter,
                        uint32_t mipFilter, gfx::D3DCOLOR colorKey);
    bool CreateFromMemory(const uint8_t* data, uint32_t size, uint32_t initFlags, uint32_t width, uint32_t height,
                          uint32_t levels, uint32_t usage, gfx::D3DFORMAT format, gfx::D3DPOOL pool, uint32_t filter,
                          uint32_t mipFilter, gfx::D3DCOLOR colorKey);
    bool CreateEmpty(uint32_t initFlags, uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
                     gfx::D3DFORMAT format, gfx::D3DPOOL pool);
    // Applies a texture description file's keys; `parent` is set for an element of "Subs".
    bool InitFromDescription(const UdfTextNode& root, Texture* parent);

    TextureSize Size() const;
    TextureRect NormalizedRect() const;
    TextureRect NormalizedRectInset(float left, float top, float right, float bottom) const;
    // The identity, except for an animation player, which first steps its frames.
    TextureMatrix TexCoordMatrix();
    // Makes `frameName` (or, when empty, the first frame) current from now on.
    bool PlayFrame(const EngineString& frameName);

    // The device texture to draw with (a sub's and a player's are their image's).
    gfx::Texture* D3DTexture() const;
    const gfx::D3DSURFACE_DESC& LevelDesc() const { return levelDesc_; }
    const gfx::D3DXIMAGE_INFO& ImageInfo() const { return imageInfo_; }
    uint32_t InitFlags() const { return initFlags_; }
    const EngineString& FileName() const { return fileName_; }
    const ByteBlock& Data() const { return data_; }
    uint32_t Levels() const { return levels_; }
    uint32_t Filter() const { return filter_; }
    uint32_t MipFilter() const { return mipFilter_; }
    gfx::D3DCOLOR ColorKey() const { return colorKey_; }
    const gfx::RECT& Rect() const { return rect_; }
    bool HasRect() const { return hasRect_; }
    Texture* Parent() const { return parent_; }
    Texture* AnimationSource() const { return animationSource_.get(); }
    uint32_t Delay() const { return delay_; }
    const EngineString& Name() const { return name_; }
    const EngineString& AnimationName() const { return animationName_; }
    const std::vector<std::unique_ptr<Texture>>& Subs() const { return subs_; }
    const AnimationMap& Animations() const { return animations_; }
    bool IsSub() const { return parent_ != nullptr && !animationSource_; }
    Texture* FindSub(const EngineString& name) const;
    Texture* FindSubByRect(const gfx::RECT& rect) const;

private:
    friend class TextureManager;
    friend class TextureAtlas;

    // CreateFromMemory over bytes already taken (referred to or owned).
    bool CreateFromBytes(ByteBlock bytes, uint32_t initFlags, uint32_t width, uint32_t height, uint32_t levels,
                         uint32_t usage, gfx::D3DFORMAT format, gfx::D3DPOOL pool, uint32_t filter, uint32_t mipFilter,
                         gfx::D3DCOLOR colorKey);
    // Only while HasDevice().
    gfx::TextureLoader Loader() const { return gfx::TextureLoader(*device_->device); }
    bool HasDevice() const { return device_->device.get() != nullptr; }
    // What every creation does first: drop kept bytes, the device texture, a sub's place.
    void ReleaseContents();
    void StoreRequest(uint32_t initFlags, uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
                      gfx::D3DFORMAT format, gfx::D3DPOOL pool, uint32_t filter, uint32_t mipFilter,
                      gfx::D3DCOLOR colorKey);
    // Reads the new device texture's description and hands it to the subs.
    bool Created(gfx::HRESULT result, gfx::Ref<gfx::Texture>& texture);
    gfx::HRESULT BuildFromData(gfx::Ref<gfx::Texture>& out);
    // Makes `sub` one of this texture's subs, sharing its device texture and description.
    Texture* AttachSub(std::unique_ptr<Texture> sub);
    // Takes `sub` out of `subs` and makes it a texture of its own: the caller decides whether
    // its references keep it alive.
    std::unique_ptr<Texture> DetachSub(Texture* sub);
    void ShareWithSubs();
    bool ReadDiskFile();
    // Frame stepping of an animation player.
    const std::vector<EngineString>* Frames() const;

    uint32_t refs_ = 0;
    std::shared_ptr<TextureDevice> device_;
    TextureManager* manager_ = nullptr;
    bool clearSubs_ = false;

    gfx::Ref<gfx::Texture> d3dTexture_;
    gfx::D3DSURFACE_DESC levelDesc_;
    gfx::D3DXIMAGE_INFO imageInfo_;
    uint32_t initFlags_ = kEmpty;
    EngineString fileName_;
    ByteBlock data_;
    uint32_t levels_ = 0;
    uint32_t filter_ = gfx::D3DX_FILTER_BOX;
    uint32_t mipFilter_ = gfx::D3DX_FILTER_BOX;
    gfx::D3DCOLOR colorKey_ = 0;
    gfx::RECT rect_;
    bool hasRect_ = false;
    Texture* parent_ = nullptr;  // a sub's owner, or a player's image
    gfx::Ref<Texture> animationSource_;
    uint32_t delay_ = 100;
    EngineString name_;
    EngineString animationName_;
    std::vector<std::unique_ptr<Texture>> subs_;
    AnimationMap animations_;
    // An animation player's current frame and the time it started from.
    size_t currentFrame_ = 0;
    int64_t timeMark_ = 0;
};
