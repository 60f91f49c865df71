// Requests, sharing, sub-textures, creation flags, sizes and device resets of the texture manager.

#include <cstring>

#include "platform/sys/LinkedResources.h"
#include "textures/TextureFixture.h"

namespace {

using gfx::D3DFMT_A8R8G8B8;
using gfx::D3DPOOL_DEFAULT;
using gfx::RECT;

TEST_F(TextureFixture, SameImageAndParametersShareOneTexture) {
    const std::string path = WriteFile("wood.png", Png(8, 8, 0xFF804020));
    Texture* first = manager.GetTexture(Request(path), nullptr);
    ASSERT_NE(first, nullptr);
    Texture* second = manager.GetTexture(Request(path), nullptr);
    EXPECT_EQ(second, first);
    EXPECT_EQ(first->RefCount(), 2u);
    EXPECT_EQ(device.CountCalls("CreateTexture"), 1u);

    // Another pool is another texture; asking for it again shares that one.
    TextureDescriptor other = Request(path);
    other.mask = TextureDescriptor::kPool;
    other.pool = D3DPOOL_DEFAULT;
    Texture* third = manager.GetTexture(other, nullptr);
    ASSERT_NE(third, nullptr);
    EXPECT_NE(third, first);
    EXPECT_EQ(third->LevelDesc().Pool, D3DPOOL_DEFAULT);
    EXPECT_EQ(manager.GetTexture(other, nullptr), third);
    // noShare always makes a new one.
    TextureDescriptor fresh = Request(path);
    fresh.noShare = true;
    Texture* fourth = manager.GetTexture(fresh, nullptr);
    EXPECT_NE(fourth, first);
    EXPECT_EQ(manager.TextureCount(), 3u);

    // Released to nothing, a texture leaves the manager.
    first->Release();
    first->Release();
    EXPECT_EQ(manager.TextureCount(), 2u);
    third->Release();
    third->Release();
    fourth->Release();
    EXPECT_EQ(manager.TextureCount(), 0u);
}

TEST_F(TextureFixture, FindOnlyNeverCreates) {
    TextureDescriptor d = Request(WriteFile("never.png", Png(4, 4, 0xFF000000)));
    d.findOnly = true;
    EXPECT_EQ(manager.GetTexture(d, nullptr), nullptr);
    EXPECT_EQ(manager.TextureCount(), 0u);
    EXPECT_EQ(device.CountCalls("CreateTexture"), 0u);
    // A file that cannot be found gives nothing either.
    EXPECT_EQ(manager.GetTexture(Request("missing.png"), nullptr), nullptr);
}

TEST_F(TextureFixture, NamesResolveThroughTheCallersListFirst) {
    TempDir other;
    const std::vector<uint8_t> small = Png(2, 2, 0xFF000000);
    std::ofstream(other.path() + "/stone.png", std::ios::binary) << std::string(small.begin(), small.end());
    WriteFile("stone.png", Png(4, 4, 0xFF808080));
    FileSearchList list;
    list.Add(FileSource(EngineString(other.path().c_str())));
    Texture* theirs = manager.GetTexture(Request("stone.png"), &list);
    ASSERT_NE(theirs, nullptr);
    EXPECT_EQ(theirs->FileName(), EngineString((other.path() + "/stone.png").c_str()));
    Texture* ours = manager.GetTexture(Request("stone.png"), nullptr);
    ASSERT_NE(ours, nullptr);
    EXPECT_EQ(ours->FileName(), EngineString(Path("stone.png").c_str()));
    EXPECT_NE(ours, theirs);
    theirs->Release();
    ours->Release();
}

TEST_F(TextureFixture, DiskFilesKeepTheirNameOrTheirBytes) {
    const std::string path = WriteFile("a.png", Png(4, 2, 0xFF102030));
    Texture* byName = manager.GetTexture(Request(path), nullptr);
    ASSERT_NE(byName, nullptr);
    EXPECT_EQ(byName->InitFlags(), Texture::kKeepName);
    EXPECT_EQ(byName->Data().data, nullptr);

    TextureDescriptor keep = Request(path);
    keep.keepData = true;
    keep.noShare = true;
    Texture* byData = manager.GetTexture(keep, nullptr);
    ASSERT_NE(byData, nullptr);
    EXPECT_EQ(byData->InitFlags(), Texture::kKeepData);
    EXPECT_GT(byData->Data().size, 0u);
    EXPECT_EQ(byData->Size(), (TextureSize{4, 2}));
    EXPECT_EQ(byData->Rect().right, 4);
    EXPECT_EQ(byData->ImageInfo().Width, 4u);

    TextureDescriptor later = Request(path);
    later.deferred = true;
    later.noShare = true;
    device.ClearCalls();
    Texture* deferred = manager.GetTexture(later, nullptr);
    ASSERT_NE(deferred, nullptr);
    EXPECT_EQ(deferred->InitFlags(), Texture::kKeepName | Texture::kDeferred);
    EXPECT_EQ(deferred->D3DTexture(), nullptr);
    EXPECT_EQ(device.CountCalls("CreateTexture"), 0u);
    for (Texture* t : {byName, byData, deferred}) t->Release();
}

TEST_F(TextureFixture, MemoryAndResourceSourcesAreReferredToAndKeptApart) {
    const std::vector<uint8_t> red = Png(2, 2, 0xFFFF0000);
    const std::vector<uint8_t> blue = Png(2, 2, 0xFF0000FF);
    sys::ResourceTable table;
    table.Add("MEMFILE", 186, red);
    table.Add("MEMFILE", 187, blue);
    sys::SetResources(&table);
    TextureDescriptor first;
    first.source = FileSource(186);
    TextureDescriptor second;
    second.source = FileSource(187);
    Texture* a = manager.GetTexture(first, nullptr);
    Texture* b = manager.GetTexture(second, nullptr);
    sys::SetResources(nullptr);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    // Two different images with the same (no) parameters are two textures.
    EXPECT_NE(a, b);
    EXPECT_EQ(a->InitFlags(), Texture::kReferData);
    EXPECT_EQ(a->Data().data, red.data());
    EXPECT_EQ(PixelAt(*b->D3DTexture(), 1, 1), 0xFF0000FFu);

    TextureDescriptor copied;
    copied.source = FileSource(blue.data(), static_cast<uint32_t>(blue.size()), false);
    Texture* c = manager.GetTexture(copied, nullptr);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->InitFlags(), Texture::kKeepData);
    EXPECT_NE(c->Data().data, blue.data());
    EXPECT_EQ(manager.GetTexture(copied, nullptr), c);
    for (Texture* t : {a, b, c, c}) t->Release();
}

TEST_F(TextureFixture, EmptyTexturesAndBadImages) {
    TextureDescriptor empty;
    empty.mask = TextureDescriptor::kSize | TextureDescriptor::kFormat;
    empty.width = 32;
    empty.height = 16;
    empty.format = D3DFMT_A8R8G8B8;
    Texture* texture = manager.GetTexture(empty, nullptr);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->InitFlags(), Texture::kEmpty);
    EXPECT_EQ(texture->Size(), (TextureSize{32, 16}));
    texture->Release();

    const std::string broken = WriteFile("broken.png", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0});
    EXPECT_EQ(manager.GetTexture(Request(broken), nullptr), nullptr);
    EXPECT_EQ(manager.TextureCount(), 0u);
}

TEST_F(TextureFixture, SubTexturesByNameAndRectangle) {
    const std::string path = WriteFile("atlas.png", Png(64, 32, 0xFFFFFFFF));
    TextureDescriptor byName = Request(path);
    byName.mask = TextureDescriptor::kSubName;
    byName.subName = "icon";
    Texture* icon = manager.GetTexture(byName, nullptr);
    ASSERT_NE(icon, nullptr);
    ASSERT_TRUE(icon->IsSub());
    Texture* parent = icon->Parent();
    EXPECT_EQ(icon->D3DTexture(), parent->D3DTexture());
    EXPECT_EQ(icon->Name(), "icon");
    // A sub's references keep its parent.
    EXPECT_EQ(parent->RefCount(), 1u);
    EXPECT_EQ(manager.GetTexture(byName, nullptr), icon);
    EXPECT_EQ(parent->RefCount(), 2u);

    TextureDescriptor byRect = Request(path);
    byRect.mask = TextureDescriptor::kSubRect;
    byRect.subRect = RECT{16, 8, 48, 24};
    Texture* area = manager.GetTexture(byRect, nullptr);
    ASSERT_NE(area, nullptr);
    EXPECT_EQ(area->Parent(), parent);
    EXPECT_EQ(area->Size(), (TextureSize{32, 16}));
    EXPECT_EQ(area->NormalizedRect(), (TextureRect{0.25f, 0.25f, 0.75f, 0.75f}));
    EXPECT_EQ(area->NormalizedRectInset(16, 0, 0, 8), (TextureRect{0.5f, 0.25f, 0.75f, 0.5f}));
    EXPECT_EQ(parent->NormalizedRect(), (TextureRect{0, 0, 1, 1}));
    EXPECT_EQ(parent->Subs().size(), 2u);
    EXPECT_EQ(manager.TextureCount(), 1u);

    // findOnly with an unknown sub name gives nothing and adds no sub.
    TextureDescriptor unknown = byName;
    unknown.subName = "missing";
    unknown.findOnly = true;
    EXPECT_EQ(manager.GetTexture(unknown, nullptr), nullptr);
    EXPECT_EQ(parent->Subs().size(), 2u);

    // A given texture (mask 0x200) is handed out again, or its sub.
    TextureDescriptor given;
    given.mask = TextureDescriptor::kTexture | TextureDescriptor::kSubName;
    given.texture = parent;
    given.subName = "icon";
    EXPECT_EQ(manager.GetTexture(given, nullptr), icon);
    given.texture = nullptr;
    EXPECT_EQ(manager.GetTexture(given, nullptr), nullptr);

    for (Texture* t : {icon, icon, icon, area}) t->Release();
    // The last sub reference was the parent's last: everything is gone.
    EXPECT_EQ(manager.TextureCount(), 0u);
}

TEST_F(TextureFixture, TexturesAndSubsAreRebuiltAfterADeviceReset) {
    const std::string path = WriteFile("reset.png", Png(16, 16, 0xFF336699));
    TextureDescriptor sub = Request(path);
    sub.mask = TextureDescriptor::kSubRect;
    sub.subRect = RECT{0, 0, 8, 8};
    Texture* area = manager.GetTexture(sub, nullptr);
    ASSERT_NE(area, nullptr);
    TextureDescriptor memory;
    const std::vector<uint8_t> bytes = Png(4, 4, 0xFF00FF00);
    memory.source = FileSource(bytes.data(), static_cast<uint32_t>(bytes.size()), true);
    Texture* fromMemory = manager.GetTexture(memory, nullptr);
    ASSERT_NE(fromMemory, nullptr);

    manager.InvalidateAll();
    EXPECT_EQ(area->Parent()->D3DTexture(), nullptr);
    EXPECT_EQ(area->D3DTexture(), nullptr);
    EXPECT_EQ(fromMemory->D3DTexture(), nullptr);

    device.ClearCalls();
    ASSERT_TRUE(manager.RestoreAll());
    EXPECT_EQ(device.CountCalls("CreateTexture"), 2u);
    ASSERT_NE(area->D3DTexture(), nullptr);
    EXPECT_EQ(area->D3DTexture(), area->Parent()->D3DTexture());
    EXPECT_EQ(PixelAt(*area->D3DTexture(), 3, 3), 0xFF336699u);
    EXPECT_EQ(PixelAt(*fromMemory->D3DTexture(), 0, 0), 0xFF00FF00u);

    // A device made anew (a mode change) reaches every texture.
    gfx::RecordingDevice replacement;
    manager.InvalidateAll();
    manager.SetDevice(&replacement);
    ASSERT_TRUE(manager.RestoreAll());
    EXPECT_EQ(replacement.CountCalls("CreateTexture"), 2u);
    // Without a device nothing can be built.
    manager.InvalidateAll();
    manager.SetDevice(nullptr);
    EXPECT_FALSE(manager.RestoreAll());
    manager.SetDevice(&device);

    // A kept-name texture whose file went away cannot come back.
    std::remove(Path(path).c_str());
    manager.InvalidateAll();
    EXPECT_FALSE(manager.RestoreAll());
    area->Release();
    fromMemory->Release();
}

}  // namespace

// A parent made again with clearSubs lets its subs go: one still held lives on as a texture of
// its own until its last release; one nobody holds is freed then (the sanitizers see a leak or
// a second free).
TEST_F(TextureFixture, ClearedSubsStillHeldOutliveTheirParentsNewImage) {
    const std::string path = WriteFile("atlas.png", Png(64, 32, 0xFFFFFFFF));
    TextureDescriptor byName = Request(path);
    byName.mask = TextureDescriptor::kSubName;
    byName.clearSubs = true;
    byName.subName = "held";
    Texture* held = manager.GetTexture(byName, nullptr);
    ASSERT_NE(held, nullptr);
    Texture* parent = held->Parent();
    ASSERT_NE(parent, nullptr);
    byName.subName = "dropped";
    Texture* dropped = manager.GetTexture(byName, nullptr);
    ASSERT_NE(dropped, nullptr);
    dropped->Release();
    ASSERT_EQ(parent->Subs().size(), 2u);
    parent->AddRef();

    const std::string other = Path(WriteFile("other.png", Png(16, 16, 0xFF00FF00)));
    ASSERT_TRUE(parent->CreateFromFile(EngineString(other.c_str()), Texture::kKeepName, 0, 0, 0, 0,
                                       gfx::D3DFMT_UNKNOWN, gfx::D3DPOOL_MANAGED, gfx::D3DX_FILTER_BOX,
                                       gfx::D3DX_FILTER_BOX, 0));
    EXPECT_TRUE(parent->Subs().empty());
    EXPECT_EQ(held->Parent(), nullptr);
    EXPECT_EQ(held->RefCount(), 1u);
    EXPECT_EQ(parent->RefCount(), 1u);  // the held sub's reference went with it
    held->Release();
    parent->Release();
}
