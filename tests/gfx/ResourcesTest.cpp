#include "platform/gfx/Resources.h"

#include <gtest/gtest.h>

#include "platform/gfx/Fvf.h"
#include "platform/gfx/States.h"

using namespace gfx;

namespace {

class ObservedTexture final : public Texture {
public:
    using Texture::Texture;
    int changes = 0;
    RECT last;

protected:
    void LevelChanged(uint32_t, const RECT& rect) override {
        ++changes;
        last = rect;
    }
};

}  // namespace

TEST(Texture, LevelsPitchesAndLockedRectangles) {
    auto texture = MakeRef<ObservedTexture>(64u, 16u, 0u, 0u, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED);
    EXPECT_EQ(texture->GetLevelCount(), 7u);  // 64 x 16 down to 1 x 1
    D3DSURFACE_DESC desc;
    ASSERT_EQ(texture->GetLevelDesc(6, desc), D3D_OK);
    EXPECT_EQ(desc.Width, 1u);
    EXPECT_EQ(desc.Height, 1u);
    EXPECT_EQ(texture->GetLevelDesc(7, desc), D3DERR_INVALIDCALL);

    D3DLOCKED_RECT locked;
    const RECT rect{4, 2, 8, 4};
    ASSERT_EQ(texture->LockRect(0, locked, &rect, 0), D3D_OK);
    EXPECT_EQ(locked.Pitch, 256);
    EXPECT_EQ(static_cast<uint8_t*>(locked.pBits) - texture->LevelBits(0), 2 * 256 + 4 * 4);
    EXPECT_EQ(texture->LockRect(0, locked, nullptr, 0), D3DERR_INVALIDCALL);  // already locked
    ASSERT_EQ(texture->UnlockRect(0), D3D_OK);
    EXPECT_EQ(texture->changes, 1);
    EXPECT_EQ(texture->last.right, 8);
    EXPECT_EQ(texture->UnlockRect(0), D3DERR_INVALIDCALL);

    const RECT outside{0, 0, 65, 1};
    EXPECT_EQ(texture->LockRect(0, locked, &outside, 0), D3DERR_INVALIDCALL);
}

TEST(Texture, CompressedLevelsAreWholeBlocks) {
    auto texture = MakeRef<ObservedTexture>(8u, 8u, 1u, 0u, D3DFMT_DXT1, D3DPOOL_MANAGED);
    EXPECT_EQ(texture->Pitch(0), 16u);  // two 8-byte blocks per block row
    D3DLOCKED_RECT locked;
    const RECT unaligned{2, 0, 8, 8};
    EXPECT_EQ(texture->LockRect(0, locked, &unaligned, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(LayoutOf(D3DFMT_DXT5).blockBytes, 16u);
    EXPECT_EQ(LayoutOf(D3DFMT_A2R10G10B10).blockBytes, 0u);
}

TEST(Buffer, LockRangesAreChecked) {
    auto buffer = MakeRef<VertexBuffer>(100u, D3DUSAGE_DYNAMIC, D3DFVF_XYZ, D3DPOOL_SYSTEMMEM);
    void* data = nullptr;
    EXPECT_EQ(buffer->Lock(90, 20, &data, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(buffer->Lock(101, 0, &data, 0), D3DERR_INVALIDCALL);
    ASSERT_EQ(buffer->Lock(40, 0, &data, D3DLOCK_DISCARD), D3D_OK);
    EXPECT_EQ(static_cast<uint8_t*>(data) - buffer->Bytes(), 40);
    EXPECT_EQ(buffer->Unlock(), D3D_OK);
    EXPECT_EQ(buffer->Unlock(), D3DERR_INVALIDCALL);
}

TEST(Fvf, ElementsFollowDirect3DOrderAndSizes) {
    const VertexLayout lit = DescribeFvf(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX2);
    EXPECT_EQ(lit.normal, 12);
    EXPECT_EQ(lit.diffuse, 24);
    EXPECT_EQ(lit.texCoord[0], 28);
    EXPECT_EQ(lit.texCoord[1], 36);
    EXPECT_EQ(lit.stride, 44u);

    const VertexLayout screen =
        DescribeFvf(D3DFVF_XYZRHW | D3DFVF_SPECULAR | D3DFVF_TEX1 | D3DFVF_TEXCOORDSIZE(D3DFVF_TEXTUREFORMAT3, 0));
    EXPECT_TRUE(screen.pretransformed);
    EXPECT_EQ(screen.specular, 16);
    EXPECT_EQ(screen.texCoordFloats[0], 3u);
    EXPECT_EQ(screen.stride, 32u);

    const VertexLayout skinned = DescribeFvf(D3DFVF_XYZB2 | D3DFVF_NORMAL);
    EXPECT_EQ(skinned.blendWeights, 2u);
    EXPECT_EQ(skinned.normal, 20);
}
