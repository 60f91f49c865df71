// The packer's geometry: free places first, boxes in the way moved when that makes room.

#include <gtest/gtest.h>

#include "textures/TextureAtlas.h"

namespace {

AtlasBox Placed(int32_t left, int32_t top, uint32_t width, uint32_t height, bool movable) {
    return {gfx::RECT{left, top, left + static_cast<int32_t>(width), top + static_cast<int32_t>(height)}, width, height,
            true, movable};
}

AtlasBox Unplaced(uint32_t width, uint32_t height) { return {gfx::RECT{}, width, height, false, true}; }

bool Overlap(const gfx::RECT& a, const gfx::RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

TEST(TextureAtlas, FillsCornersThenLeansOnPlacedBoxes) {
    std::vector<AtlasBox> boxes;
    for (int i = 0; i < 8; ++i) {
        boxes.push_back(Unplaced(8, 8));
        ASSERT_TRUE(TextureAtlas::PlaceBox(boxes, boxes.size() - 1, 32, 16, 3)) << i;
    }
    // Eight 8x8 boxes fill a 32x16 parent exactly.
    for (size_t i = 0; i < boxes.size(); ++i)
        for (size_t j = i + 1; j < boxes.size(); ++j) EXPECT_FALSE(Overlap(boxes[i].rect, boxes[j].rect)) << i << j;
    EXPECT_EQ(boxes[0].rect.left, 0);
    EXPECT_EQ(boxes[0].rect.top, 0);
    boxes.push_back(Unplaced(8, 8));
    EXPECT_FALSE(TextureAtlas::PlaceBox(boxes, boxes.size() - 1, 32, 16, 3));
}

TEST(TextureAtlas, MovesPackedBoxesOutOfTheWay) {
    // A packed box sits in the middle; a second box of its size only fits if it moves aside.
    std::vector<AtlasBox> boxes{Placed(8, 0, 16, 16, true), Unplaced(16, 16)};
    ASSERT_TRUE(TextureAtlas::PlaceBox(boxes, 1, 32, 16, 3));
    EXPECT_FALSE(Overlap(boxes[0].rect, boxes[1].rect));
    EXPECT_EQ(boxes[0].rect.right - boxes[0].rect.left, 16);

    // A box given by its description is never moved.
    std::vector<AtlasBox> fixed{Placed(8, 0, 16, 16, false), Unplaced(16, 16)};
    EXPECT_FALSE(TextureAtlas::PlaceBox(fixed, 1, 32, 16, 3));
    EXPECT_EQ(fixed[0].rect.left, 8);
    // Depth 1 allows no moves.
    std::vector<AtlasBox> shallow{Placed(8, 0, 16, 16, true), Unplaced(16, 16)};
    EXPECT_FALSE(TextureAtlas::PlaceBox(shallow, 1, 32, 16, 1));
    EXPECT_EQ(shallow[0].rect.left, 8);
}

TEST(TextureAtlas, RefusesBoxesThatCannotFit) {
    std::vector<AtlasBox> boxes{Unplaced(40, 4)};
    EXPECT_FALSE(TextureAtlas::PlaceBox(boxes, 0, 32, 16, 3));
    boxes = {Unplaced(0, 4)};
    EXPECT_FALSE(TextureAtlas::PlaceBox(boxes, 0, 32, 16, 3));
}

}  // namespace
