#include "textures/TextureManager.h"

#include <algorithm>
#include <string_view>

#include "textures/TextureDescription.h"

using gfx::D3DCOLOR;
using gfx::D3DFMT_UNKNOWN;
using gfx::D3DFORMAT;
using gfx::D3DPOOL;
using gfx::D3DPOOL_MANAGED;
using gfx::D3DSURFACE_DESC;
using gfx::D3DX_FILTER_BOX;
using gfx::Device;
using gfx::RECT;
using gfx::Ref;

namespace {

constexpr uint32_t kPlaces = FileSource::kDisk | FileSource::kArchive;

// One text per place a resolved source can name.
std::string KeyOf(const FileSource& source) {
    const std::string path(source.path.view());
    if (source.sources & FileSource::kDisk) return "disk:" + path;
    if (source.sources & FileSource::kArchive)
        return "archive:" + std::to_string(reinterpret_cast<uintptr_t>(source.archive)) + ":" + path;
    if (source.sources & FileSource::kResource) return "resource:" + std::to_string(source.resourceId);
    if (source.sources & FileSource::kMemory)
        return "memory:" + std::to_string(reinterpret_cast<uintptr_t>(source.memory)) + ":" +
               std::to_string(source.memorySize);
    return {};
}

const std::string kEmptyDiskKey = "disk:";

// The text after the last "." of the last path component.
std::string_view Extension(std::string_view path) {
    const size_t slash = path.find_last_of("/\\");
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view{} : name.substr(dot + 1);
}

}  // namespace

TextureManager::TextureManager(Device* device) : device_(std::make_shared<TextureDevice>()) { SetDevice(device); }

TextureManager::~TextureManager() {
    // Textures still held by users outlive the manager; those nobody holds go with it.
    const std::vector<Entry> entries = std::move(all_);
    all_.clear();
    bySource_.clear();
    for (const Entry& entry : entries) {
        entry.texture->manager_ = nullptr;
        if (entry.texture->refs_ == 0) delete entry.texture;
    }
}

bool TextureManager::Matches(const Texture& texture, const TextureDescriptor& d) const {
    const D3DSURFACE_DESC& desc = texture.levelDesc_;
    return (!d.Has(TextureDescriptor::kFormat) || desc.Format == d.format) &&
           (!d.Has(TextureDescriptor::kColorKey) || texture.colorKey_ == d.colorKey) &&
           (!d.Has(TextureDescriptor::kSize) || (desc.Width == d.width && desc.Height == d.height)) &&
           (!d.Has(TextureDescriptor::kUsage) || desc.Usage == d.usage) &&
           (!d.Has(TextureDescriptor::kPool) || desc.Pool == d.pool) &&
           (!d.Has(TextureDescriptor::kFilter) || (texture.filter_ == d.filter && texture.mipFilter_ == d.mipFilter)) &&
           (!d.Has(TextureDescriptor::kLevels) || texture.levels_ == d.levels);
}

Texture* TextureManager::SelectSub(Texture& texture, const TextureDescriptor& d) {
    const bool byName = d.Has(TextureDescriptor::kSubName);
    const bool byRect = d.Has(TextureDescriptor::kSubRect);
    if (byName && !byRect && texture.animations_.count(d.subName)) {
        auto* player = new Texture(device_);
        player->parent_ = &texture;
        player->animationSource_ = Ref<Texture>(&texture);
        player->animationName_ = d.subName;
        player->levelDesc_ = texture.levelDesc_;
        return player;
    }
    for (const auto& sub : texture.subs_) {
        const RECT& r = sub->rect_;
        const bool sameRect = r.left == d.subRect.left && r.top == d.subRect.top && r.right == d.subRect.right &&
                              r.bottom == d.subRect.bottom;
        if ((byName && sub->name_ == d.subName) || (byRect && sameRect)) return sub.get();
    }
    if (d.findOnly) return nullptr;
    auto sub = std::make_unique<Texture>(device_);
    if (byName) sub->name_ = d.subName;
    if (byRect) {
        sub->rect_ = d.subRect;
        sub->hasRect_ = true;
    }
    return texture.AttachSub(std::move(sub));
}

Texture* TextureManager::FindShared(const TextureDescriptor& d, const std::string& source) {
    const bool wantsSub = d.Has(TextureDescriptor::kSubName | TextureDescriptor::kSubRect);
    const auto take = [&](Texture* texture) -> Texture* {
        if (!Matches(*texture, d)) return nullptr;
        return wantsSub ? SelectSub(*texture, d) : texture;
    };
    if (d.source.sources & FileSource::kDisk) {
        const auto list = bySource_.find(source);
        if (list == bySource_.end()) return nullptr;
        for (Texture* texture : list->second)
            if (Texture* found = take(texture)) return found;
        return nullptr;
    }
    // Other sources are found by walking every texture. Only textures of the same source can
    // be the same image.
    for (const Entry& entry : all_)
        if (entry.source == source)
            if (Texture* found = take(entry.texture)) return found;
    return nullptr;
}

Texture* TextureManager::GetTexture(const TextureDescriptor& d, const FileSearchList* searchList) {
    const bool wantsSub = d.Has(TextureDescriptor::kSubName | TextureDescriptor::kSubRect);
    if (d.Has(TextureDescriptor::kTexture)) {
        Texture* result = d.texture && wantsSub ? SelectSub(*d.texture, d) : d.texture;
        if (result) result->AddRef();
        return result;
    }
    FileSource source = d.source;
    if (source.sources & kPlaces) {
        bool resolved = searchList && searchList->Resolve(source);
        if (!resolved) {
            source = d.source;
            resolved = searchList_.Resolve(source);
        }
        if (!resolved) return nullptr;
    }
    const std::string sourceKey = KeyOf(source);
    if (!d.noShare) {
        if (Texture* shared = FindShared(d, sourceKey)) {
            shared->AddRef();
            return shared;
        }
    }
    if (d.findOnly) return nullptr;
    auto* texture = new Texture(device_);
    if (!Create(*texture, d, source)) {
        delete texture;
        return nullptr;
    }
    Texture* result = wantsSub ? SelectSub(*texture, d) : texture;
    const std::string& key = (d.source.sources & FileSource::kDisk) ? sourceKey : kEmptyDiskKey;
    texture->manager_ = this;
    all_.push_back({texture, key, sourceKey});
    bySource_[key].push_back(texture);
    result->AddRef();
    return result;
}

bool TextureManager::Create(Texture& texture, const TextureDescriptor& d, FileSource& source) {
    uint32_t initFlags = Texture::kEmpty;
    uint32_t width = 0, height = 0, levels = 0, usage = 0;
    D3DFORMAT format = D3DFMT_UNKNOWN;
    D3DPOOL pool = D3DPOOL_MANAGED;
    uint32_t filter = D3DX_FILTER_BOX, mipFilter = D3DX_FILTER_BOX;
    D3DCOLOR colorKey = 0;
    if (d.Has(TextureDescriptor::kFormat)) format = d.format;
    if (d.Has(TextureDescriptor::kColorKey)) colorKey = d.colorKey;
    if (d.Has(TextureDescriptor::kSize)) {
        width = d.width;
        height = d.height;
    }
    if (d.Has(TextureDescriptor::kUsage)) usage = d.usage;
    if (d.Has(TextureDescriptor::kPool)) pool = d.pool;
    if (d.Has(TextureDescriptor::kFilter)) {
        filter = d.filter;
        mipFilter = d.mipFilter;
    }
    if (d.Has(TextureDescriptor::kLevels)) levels = d.levels;
    if ((source.sources & FileSource::kDisk) || d.Has(TextureDescriptor::kSubName))
        initFlags = d.keepData ? Texture::kKeepData : Texture::kKeepName;
    texture.clearSubs_ = d.clearSubs;

    if (source.sources & FileSource::kDisk) {
        if (Extension(source.path.view()) == "ts") return LoadTextureDescription(texture, source, &searchList_);
        if (d.deferred) initFlags |= Texture::kDeferred;
        return texture.CreateFromFile(source.path, initFlags, width, height, levels, usage, format, pool, filter,
                                      mipFilter, colorKey);
    }
    if (source.sources & (FileSource::kMemory | FileSource::kResource | FileSource::kArchive)) {
        ByteBlock bytes;
        bool reference = true;
        if (!source.ReadAll(bytes, reference)) return false;
        initFlags = reference ? Texture::kReferData : Texture::kKeepData;
        return texture.CreateFromBytes(std::move(bytes), initFlags, width, height, levels, usage, format, pool, filter,
                                       mipFilter, colorKey);
    }
    return texture.CreateEmpty(initFlags, width, height, levels, usage, format, pool);
}

void TextureManager::Forget(Texture* texture) {
    const auto entry = std::find_if(all_.begin(), all_.end(), [&](const Entry& e) { return e.texture == texture; });
    if (entry == all_.end()) return;
    std::vector<Texture*>& list = bySource_[entry->key];
    list.erase(std::remove(list.begin(), list.end(), texture), list.end());
    if (list.empty()) bySource_.erase(entry->key);
    all_.erase(entry);
}

void TextureManager::InvalidateAll() {
    for (const Entry& entry : all_) entry.texture->Invalidate();
}

bool TextureManager::RestoreAll() {
    bool restored = true;
    for (const Entry& entry : all_) restored = entry.texture->Restore() && restored;
    return restored;
}
