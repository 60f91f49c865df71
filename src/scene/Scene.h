#pragma once
// A loaded scene: its materials, meshes and their buffers, the camera nodes, the node tree and
// the lights. Loading is tolerant: an item that cannot be read is skipped and the rest loads;
// more files can be loaded onto the same scene, adding takes and animations to nodes of the
// same name. A subclass may override the four loading operations to intercept meshes or lights.

#include <map>
#include <unordered_set>
#include <memory>
#include <vector>

#include "common/EngineString.h"
#include "resources/FileSource.h"
#include "scene/BufferCache.h"
#include "scene/Light.h"
#include "scene/MaterialLibrary.h"
#include "scene/MeshData.h"
#include "scene/MeshRenderable.h"
#include "scene/SceneNode.h"
#include "scene/StateBlock.h"

class FileSearchList;
class TextureManager;
class UdfNode;

// What the scene needs from the application. The file list and the texture manager outlive the
// scene, which releases its textures when it goes.
struct SceneContext {
    // Where texture files are looked for (may be null: the texture manager's own list).
    const FileSearchList* files = nullptr;
    // Makes the materials' textures (null: materials stay untextured).
    TextureManager* textures = nullptr;
    StateBlock materialDefault;  // every material starts as a copy
    StateBlock meshDefault;      // every mesh without a material starts as a copy
};

class Scene {
public:
    explicit Scene(const SceneContext& context);
    virtual ~Scene();
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // Overridable loading operations, in this order.
    // Locks `range` (discarding a dynamic buffer) and copies its mesh's vertices or indices in.
    virtual bool fillBufferRange(BufferRange& range);
    // Makes the buffers and the renderable of a mesh node and attaches it to `node`; false when
    // the buffers cannot be made. `skinData` is null for a static mesh.
    virtual bool createMeshRenderable(UdfNode& udfNode, SceneNode& node, const StateBlock& material,
                                      MeshData& meshData, std::unique_ptr<SkinData> skinData);
    // Appends the light to the list; false ends the reading of the light section.
    virtual bool addLight(const UdfNode& udfNode, std::unique_ptr<Light> light);
    // Stores the transforms of the load's take on `node` (applied at once for its first take).
    virtual void setNodeTransforms(const UdfNode& udfNode, SceneNode& node, const Matrix& nodeTM,
                                   const Matrix& objectTM);

    // Loads one scene file; its takes and animations are stored under `takeName`. False for a
    // missing or unparsable file and for a skinned mesh whose bones are missing.
    bool load(FileSource file, const EngineString& takeName);
    // The same from bytes already in memory (they need not outlive the call).
    bool loadFromMemory(const uint8_t* data, uint32_t size, const EngineString& takeName);

    void loadMaterials(const UdfNode& materials);
    void loadMaterial(const UdfNode& udfNode, StateBlock& block);
    // The mesh-level render keys, refining the block the mesh starts with.
    static void readRenderKeys(const UdfNode& udfNode, StateBlock& block);

    SceneNode& root() { return root_; }
    const std::vector<std::unique_ptr<SceneNode>>& rootChildren() const { return root_.children(); }
    const std::vector<std::unique_ptr<SceneNode>>& cameraChildren() const { return cameraRoot_.children(); }
    const LightList& lights() const { return lights_; }
    const MaterialLibrary& materials() const { return materials_; }
    const std::vector<SkinnedRenderable*>& skinnedRenderables() const { return skinned_; }
    const BufferCache& buffers() const { return buffers_; }
    const EngineString& takeName() const { return takeName_; }
    const SceneContext& context() const { return context_; }

    // Around a device reset, or when the device was made anew: release every buffer, then make
    // and fill them again from the kept mesh data.
    void onDeviceLost();
    bool onDeviceReset();

protected:
    void loadNode(UdfNode& udfNode, SceneNode& parent, int depth = 0);
    // A mesh that fails to read leaves the node without a renderable.
    bool loadMesh(UdfNode& udfNode, SceneNode& node);
    void loadAnimation(const UdfNode& udfNode, SceneNode& node);
    // False ends the light section.
    bool loadLight(const UdfNode& udfNode);
    // The buffer range for `mesh` with `descriptor`, made and filled when new.
    BufferRange* takeRange(const MeshData& mesh, const BufferDescriptor& descriptor);

    SceneContext context_;
    MaterialLibrary materials_;
    std::vector<std::pair<EngineString, std::unique_ptr<MeshData>>> meshes_;  // by node name
    BufferCache buffers_;
    EngineString takeName_;
    SceneNode cameraRoot_;
    SceneNode root_;
    LightList lights_;
    std::vector<SkinnedRenderable*> skinned_;

private:
    bool loadRoot(UdfNode& fileRoot);
    // The scene holds one reference to every texture its materials use.
    Texture* acquireTexture(const EngineString& fileName);
    std::vector<Texture*> textures_;
    // Value-tree nodes read by this load: a node that links lead to again (a damaged file may
    // link a node into its own subtree) is read once.
    std::unordered_set<const UdfNode*> visited_;
};
