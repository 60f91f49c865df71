// Texture description files: keys, sub-rectangles, the packer, animations and their timing.

#include "platform/sys/Clock.h"
#include "textures/TextureFixture.h"
#include "textures/TextureDescription.h"

namespace {

using gfx::D3DFMT_A8R8G8B8;
using gfx::D3DFMT_UNKNOWN;

class DescriptionTest : public TextureFixture {
protected:
    Texture* Load(const std::string& name, const std::string& text) {
        return manager.GetTexture(Request(WriteText(name, text)), nullptr);
    }
};

TEST_F(DescriptionTest, KeysOfTheTopLevel) {
    WriteFile("sheet.png", Png(32, 16, 0xFFFF00FF));
    Texture* texture = Load("sheet.ts",
                            "FileName = \"" + Path("sheet.png") + "\"; InitFlags = \"SAVE_NAME\"; Levels = 2;"
                            "Format = \"D3DFMT_A8R8G8B8\"; Pool = \"D3DPOOL_SYSTEMMEM\"; Usage = \"D3DUSAGE_DYNAMIC\";"
                            "Filter = \"D3DX_FILTER_NONE\"; MipFilter = \"D3DX_FILTER_TRIANGLE\"; Id = \"sheet\";"
                            "ColorKey = array(255, 0, 255); Unknown = 7;");
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->InitFlags(), Texture::kKeepName);
    EXPECT_EQ(texture->Levels(), 2u);
    EXPECT_EQ(texture->LevelDesc().Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(texture->LevelDesc().Pool, gfx::D3DPOOL_SYSTEMMEM);
    EXPECT_EQ(texture->LevelDesc().Usage, gfx::D3DUSAGE_DYNAMIC);
    EXPECT_EQ(texture->Filter(), gfx::D3DX_FILTER_NONE);
    EXPECT_EQ(texture->MipFilter(), gfx::D3DX_FILTER_TRIANGLE);
    EXPECT_EQ(texture->Name(), "sheet");
    EXPECT_EQ(texture->ColorKey(), 0xFFFF00FFu);
    EXPECT_EQ(texture->Delay(), 100u);
    EXPECT_EQ(PixelAt(*texture->D3DTexture(), 5, 5), 0u);  // keyed out
    texture->Release();

    // Without a file name: an empty texture of the given size, with the defaults.
    Texture* empty = Load("empty.ts", "Width = 64; Height = 32;");
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->InitFlags(), Texture::kEmpty);
    EXPECT_EQ(empty->Size(), (TextureSize{64, 32}));
    EXPECT_EQ(empty->Levels(), 1u);
    EXPECT_EQ(empty->Filter(), gfx::D3DX_FILTER_BOX);  // the empty texture keeps the texture's own
    empty->Release();
}

TEST_F(DescriptionTest, ValueNames) {
    EXPECT_EQ(DescriptionFormat("D3DFMT_A8R8G8B8"), D3DFMT_A8R8G8B8);
    EXPECT_EQ(DescriptionFormat("D3DFMT_R5G6B5"), gfx::D3DFMT_R5G6B5);
    EXPECT_EQ(DescriptionFormat("D3DFMT_DXT1"), D3DFMT_UNKNOWN);
    EXPECT_EQ(DescriptionFilter("D3DX_FILTER_BOX", 3), gfx::D3DX_FILTER_BOX);
    EXPECT_EQ(DescriptionFilter("D3DX_FILTER_POINT", 3), 3u);  // not among the names
    EXPECT_EQ(DescriptionPool("D3DPOOL_DEFAULT"), gfx::D3DPOOL_DEFAULT);
    EXPECT_EQ(DescriptionPool("D3DPOOL_SCRATCH"), gfx::D3DPOOL_MANAGED);
}

TEST_F(DescriptionTest, ColorKeyForms) {
    WriteFile("k.png", Png(4, 4, 0xFF000000));
    const auto keyOf = [&](const std::string& value) {
        Texture* t = Load("k.ts", "FileName = \"" + Path("k.png") + "\"; ColorKey = " + value + ";");
        const gfx::D3DCOLOR key = t ? t->ColorKey() : 1;
        if (t) t->Release();
        return key;
    };
    EXPECT_EQ(keyOf("array(255, 0, 255)"), 0xFFFF00FFu);
    EXPECT_EQ(keyOf("object(r = 10, b = 20)"), 0xFF0A0014u);
    EXPECT_EQ(keyOf("object(g = 7)"), 0xFF000700u);
    EXPECT_EQ(keyOf("16711935"), 0x00FF00FFu);
}

TEST_F(DescriptionTest, ExtensionMustBeLowerCaseTs) {
    WriteFile("upper.TS", std::vector<uint8_t>{'W', 'i', 'd', 't', 'h', '=', '4', ';'});
    // Not a description: read as an image, which it is not.
    EXPECT_EQ(manager.GetTexture(Request("upper.TS"), nullptr), nullptr);
    Texture* lower = Load("lower.ts", "Width = 4; Height = 4;");
    ASSERT_NE(lower, nullptr);
    lower->Release();
}

TEST_F(DescriptionTest, SubRectanglesDelaysAndThePacker) {
    WriteFile("red.png", Png(8, 8, 0xFFFF0000));
    WriteFile("green.png", Png(16, 8, 0xFF00FF00));
    Texture* texture = Load("atlas.ts",
                            "Width = 64; Height = 64; Format = \"D3DFMT_A8R8G8B8\"; Delay = 40;"
                            "Subs = array("
                            "  object(Id = \"a\", x1 = 0, y1 = 0, w = 16, h = 8, Delay = 70),"
                            "  object(Id = \"b\", x1 = 16, y1 = 0, x2 = 32, y2 = 16),"
                            "  object(Id = \"c\", FileName = \"" + Path("red.png") + "\", x1 = 0, y1 = 0, x2 = 40, w = 8),"
                            "  object(Id = \"d\", FileName = \"" + Path("green.png") + "\"));");
    ASSERT_NE(texture, nullptr);
    ASSERT_EQ(texture->Subs().size(), 4u);
    const Texture* a = texture->FindSub("a");
    const Texture* b = texture->FindSub("b");
    const Texture* c = texture->FindSub("c");
    const Texture* d = texture->FindSub("d");
    EXPECT_EQ(a->Rect().right, 16);
    EXPECT_EQ(a->Rect().bottom, 8);
    EXPECT_EQ(a->Delay(), 70u);
    EXPECT_EQ(b->Rect().bottom, 16);
    EXPECT_EQ(b->Delay(), 40u);  // the parent's
    // An incomplete rectangle goes to the packer, which keeps clear of the given ones.
    EXPECT_FALSE(c->HasRect());
    EXPECT_EQ(c->Size(), (TextureSize{8, 8}));
    EXPECT_EQ(d->Size(), (TextureSize{16, 8}));
    for (const Texture* packed : {c, d}) {
        for (const auto& other : texture->Subs()) {
            if (other.get() == packed) continue;
            const gfx::RECT& p = packed->Rect();
            const gfx::RECT& o = other->Rect();
            EXPECT_TRUE(p.right <= o.left || o.right <= p.left || p.bottom <= o.top || o.bottom <= p.top)
                << packed->Name().c_str() << " overlaps " << other->Name().c_str();
        }
        EXPECT_EQ(packed->D3DTexture(), texture->D3DTexture());
    }
    // Their images were loaded into their areas of the shared texture.
    EXPECT_EQ(PixelAt(*texture->D3DTexture(), static_cast<uint32_t>(c->Rect().left) + 1,
                      static_cast<uint32_t>(c->Rect().top) + 1),
              0xFFFF0000u);
    EXPECT_EQ(PixelAt(*texture->D3DTexture(), static_cast<uint32_t>(d->Rect().right) - 1,
                      static_cast<uint32_t>(d->Rect().bottom) - 1),
              0xFF00FF00u);

    // After a device reset the subs' images come back into the new texture.
    manager.InvalidateAll();
    ASSERT_TRUE(manager.RestoreAll());
    EXPECT_EQ(PixelAt(*texture->D3DTexture(), static_cast<uint32_t>(c->Rect().left),
                      static_cast<uint32_t>(c->Rect().top)),
              0xFFFF0000u);
    texture->Release();
}

TEST_F(DescriptionTest, ASubThatFailsFailsTheWhole) {
    EXPECT_EQ(Load("bad.ts", "Width = 16; Height = 16; Subs = array(object(FileName = \"nowhere.png\"));"), nullptr);
    // Too big for its parent: the packer finds no place.
    WriteFile("big.png", Png(32, 32, 0xFF000000));
    EXPECT_EQ(Load("big.ts", "Width = 16; Height = 16; Subs = array(object(FileName = \"" + Path("big.png") + "\"));"),
              nullptr);
    EXPECT_EQ(manager.TextureCount(), 0u);
}

class AnimationTest : public DescriptionTest {
protected:
    void SetUp() override {
        const std::string text =
            "Width = 32; Height = 16;"
            "Subs = array(object(Id = \"a\", x1 = 0, y1 = 0, w = 16, h = 16, Delay = 100),"
            "             object(Id = \"b\", x1 = 16, y1 = 0, w = 16, h = 16, Delay = 50));"
            "Animation = object(blink = array(\"a\", \"b\"));";
        WriteText("anim.ts", text);
    }
    Texture* Player() {
        TextureDescriptor d = Request("anim.ts");
        d.mask = TextureDescriptor::kSubName;
        d.subName = "blink";
        return manager.GetTexture(d, nullptr);
    }
    // Which frame the player's matrix shows at `ms`.
    char FrameAt(Texture& player, int64_t ms) {
        clock.SetMs(ms);
        const TextureMatrix m = player.TexCoordMatrix();
        EXPECT_EQ(m.kind, 0u);
        EXPECT_FLOAT_EQ(m.m(0, 0), 0.5f);
        EXPECT_FLOAT_EQ(m.m(1, 1), 1.0f);
        return m.m(2, 0) == 0.0f ? 'a' : 'b';
    }

    sys::TestClock clock{1000};
    sys::ScopedClock useClock{clock};
};

TEST_F(AnimationTest, SubNameOfAnAnimationGivesANewPlayer) {
    Texture* first = Player();
    Texture* second = Player();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    EXPECT_FALSE(first->IsSub());
    EXPECT_EQ(first->AnimationName(), "blink");
    Texture* image = first->AnimationSource();
    EXPECT_EQ(first->D3DTexture(), image->D3DTexture());
    EXPECT_EQ(image->Subs().size(), 2u);  // players are not subs
    EXPECT_EQ(image->Animations().at("blink").size(), 2u);
    // The image's own matrix, and a sub's, are the identity.
    EXPECT_EQ(image->TexCoordMatrix().kind, 7u);
    EXPECT_EQ(image->FindSub("a")->TexCoordMatrix().kind, 7u);
    // After a reset the player draws the image's new texture.
    manager.InvalidateAll();
    ASSERT_TRUE(manager.RestoreAll());
    EXPECT_EQ(first->D3DTexture(), image->D3DTexture());
    EXPECT_NE(first->D3DTexture(), nullptr);
    first->Release();
    second->Release();
    EXPECT_EQ(manager.TextureCount(), 0u);
}

TEST_F(AnimationTest, FramesFollowTheDelayOfTheFrameBefore) {
    Texture* player = Player();
    ASSERT_NE(player, nullptr);
    const int64_t t = 5000;
    clock.SetMs(t);
    ASSERT_TRUE(player->PlayFrame(""));
    EXPECT_EQ(FrameAt(*player, t), 'a');
    EXPECT_EQ(FrameAt(*player, t + 1), 'b');
    EXPECT_EQ(FrameAt(*player, t + 100), 'b');
    EXPECT_EQ(FrameAt(*player, t + 101), 'a');
    EXPECT_EQ(FrameAt(*player, t + 150), 'a');
    EXPECT_EQ(FrameAt(*player, t + 151), 'b');
    EXPECT_EQ(FrameAt(*player, t + 250), 'b');
    EXPECT_EQ(FrameAt(*player, t + 251), 'a');
    // Falling behind skips frames: the round is 150 ms.
    EXPECT_EQ(FrameAt(*player, t + 251 + 150 * 1000), 'a');
    EXPECT_EQ(FrameAt(*player, t + 251 + 150 * 1000 + 50), 'b');

    ASSERT_TRUE(player->PlayFrame("b"));
    EXPECT_EQ(FrameAt(*player, clock.Ms()), 'b');
    EXPECT_FALSE(player->PlayFrame("c"));
    player->Release();
}

}  // namespace
