#pragma once
// Hands out textures by descriptor, sharing one texture among requests for the same image with
// the same parameters, and keeps every texture it made so a device reset can rebuild them.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/Device.h"
#include "platform/gfx/Object.h"
#include "resources/FileSearchList.h"
#include "textures/Texture.h"
#include "textures/TextureDescriptor.h"

class TextureManager {
public:
    explicit TextureManager(gfx::Device* device);
    ~TextureManager();
    TextureManager(const TextureManager&) = delete;
    TextureManager& operator=(const TextureManager&) = delete;

    // A texture with one more reference, or null. `searchList` may be null; relative names are
    // then looked for through the manager's own list only.
    Texture* GetTexture(const TextureDescriptor& descriptor, const FileSearchList* searchList);

    FileSearchList& SearchList() { return searchList_; }
    // The device every texture of this manager is made on from now on (after a new device).
    void SetDevice(gfx::Device* device) { device_->device = gfx::Ref<gfx::Device>(device); }
    size_t TextureCount() const { return all_.size(); }

    // Around a device reset: release every device texture, then build them again.
    void InvalidateAll();
    bool RestoreAll();

private:
    friend class Texture;

    struct Entry {
        Texture* texture;
        std::string key;     // where the map files it
        std::string source;  // the resolved source it was made from
    };

    bool Matches(const Texture& texture, const TextureDescriptor& descriptor) const;
    // Step 5 of a request: the sub-texture or animation player of `texture` it asks for.
    Texture* SelectSub(Texture& texture, const TextureDescriptor& descriptor);
    Texture* FindShared(const TextureDescriptor& descriptor, const std::string& source);
    bool Create(Texture& texture, const TextureDescriptor& descriptor, FileSource& source);
    void Forget(Texture* texture);

    std::shared_ptr<TextureDevice> device_;
    FileSearchList searchList_;
    std::map<std::string, std::vector<Texture*>> bySource_;
    std::vector<Entry> all_;
};
