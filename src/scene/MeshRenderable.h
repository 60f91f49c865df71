#pragma once
// Mesh renderables: a static mesh drawn from its device buffers, and a skinned mesh whose
// positions are moved by its bones on the processor every frame before it is drawn.

#include <cstdint>
#include <memory>
#include <vector>

#include "scene/BufferCache.h"
#include "scene/MeshData.h"
#include "scene/Renderable.h"

class SceneNode;

class MeshRenderable : public Renderable {
public:
    // The ranges belong to the scene's buffer cache; `indices` may be null.
    MeshRenderable(const MeshData& mesh, const StateBlock& states, BufferRange* vertices, BufferRange* indices);

    uint32_t getFvf() const override { return mesh_.fvf; }
    void updateBounds() override;
    bool draw() override;

    virtual bool isSkinned() const { return false; }
    const MeshData& meshData() const { return mesh_; }
    const BufferRange* vertexRange() const { return vertices_; }
    const BufferRange* indexRange() const { return indices_; }
    gfx::D3DPRIMITIVETYPE primitiveType() const { return primitiveType_; }
    // Triangles (primitives) one draw makes.
    uint32_t primitiveCount() const;

protected:
    // Steps 1 to 6 of a draw: states, transforms, stream, indices, the draw call.
    bool drawBuffers();

    const MeshData& mesh_;
    BufferRange* vertices_;
    BufferRange* indices_;
    gfx::D3DPRIMITIVETYPE primitiveType_ = gfx::D3DPT_TRIANGLELIST;
};

class SkinnedRenderable final : public MeshRenderable {
public:
    SkinnedRenderable(const MeshData& mesh, std::unique_ptr<SkinData> skin, const StateBlock& states,
                      BufferRange* vertices, BufferRange* indices);

    bool isSkinned() const override { return true; }
    // Finds every bone by name under `root`; on a missing one, forgets them all and fails.
    bool bindBones(SceneNode& root);
    size_t boundBones() const { return bones_.size(); }
    const SkinData& skinData() const { return *skin_; }
    // The union of the bind-pose box moved by each bone. The skin carries its vertices away from
    // the node's world matrix, so the box a static mesh uses (moved by that matrix alone) would
    // let a bent limb that is in view be culled; every skinned position, a weighted sum of the
    // bones' moves, stays within this union.
    void updateBounds() override;
    // Writes this frame's skinned positions (world space) into the vertex buffer.
    bool update();
    bool draw() override;

private:
    std::unique_ptr<SkinData> skin_;
    std::vector<const Matrix*> bones_;
    std::vector<Matrix> boneMatrices_;  // this frame's world x skin matrices, kept between frames
    bool hasUnweightedVertex_ = false;  // such a vertex sits at the origin
};
