#include "textures/TextureAtlas.h"

#include <algorithm>

#include "textures/Texture.h"

using gfx::RECT;

namespace {

// Overlapping candidates tried for moving boxes, per level: the search stays small.
constexpr size_t kMovesTried = 8;

struct Candidate {
    RECT rect;
    int64_t overlap = 0;
    int64_t touching = 0;
};

int64_t Overlap(const RECT& a, const RECT& b) {
    const int64_t w = std::min(a.right, b.right) - std::max(a.left, b.left);
    const int64_t h = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return (w > 0 && h > 0) ? w * h : 0;
}

// Length of shared edge between two boxes that lie side by side.
int64_t SharedEdge(const RECT& a, const RECT& b) {
    const int64_t across = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    const int64_t along = std::min(a.right, b.right) - std::max(a.left, b.left);
    int64_t shared = 0;
    if ((a.right == b.left || a.left == b.right) && across > 0) shared += across;
    if ((a.bottom == b.top || a.top == b.bottom) && along > 0) shared += along;
    return shared;
}

Candidate Score(const std::vector<AtlasBox>& boxes, size_t index, const RECT& rect, int32_t width, int32_t height) {
    Candidate c{rect};
    // The parent's border counts as an edge to lean on.
    if (rect.left == 0) c.touching += rect.bottom - rect.top;
    if (rect.right == width) c.touching += rect.bottom - rect.top;
    if (rect.top == 0) c.touching += rect.right - rect.left;
    if (rect.bottom == height) c.touching += rect.right - rect.left;
    for (size_t i = 0; i < boxes.size(); ++i) {
        if (i == index || !boxes[i].placed) continue;
        c.overlap += Overlap(rect, boxes[i].rect);
        c.touching += SharedEdge(rect, boxes[i].rect);
    }
    return c;
}

std::vector<Candidate> Candidates(const std::vector<AtlasBox>& boxes, size_t index, int32_t width, int32_t height) {
    const auto w = static_cast<int32_t>(boxes[index].width);
    const auto h = static_cast<int32_t>(boxes[index].height);
    std::vector<RECT> places{{0, 0, w, h}, {width - w, 0, width, h}, {0, height - h, w, height},
                             {width - w, height - h, width, height}};
    for (size_t i = 0; i < boxes.size(); ++i) {
        if (i == index || !boxes[i].placed) continue;
        const RECT& r = boxes[i].rect;
        for (const int32_t x : {r.left - w, r.left, r.right}) {
            for (const int32_t y : {r.top - h, r.top, r.bottom}) {
                const bool beside = (x == r.left - w || x == r.right) || (y == r.top - h || y == r.bottom);
                if (beside) places.push_back({x, y, x + w, y + h});
            }
        }
    }
    std::vector<Candidate> candidates;
    for (const RECT& place : places) {
        const bool inside = place.left >= 0 && place.top >= 0 && place.right <= width && place.bottom <= height;
        const auto same = [&](const Candidate& c) { return c.rect.left == place.left && c.rect.top == place.top; };
        if (inside && std::none_of(candidates.begin(), candidates.end(), same))
            candidates.push_back(Score(boxes, index, place, width, height));
    }
    std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
        if (a.overlap != b.overlap) return a.overlap < b.overlap;
        if (a.touching != b.touching) return a.touching > b.touching;
        if (a.rect.top != b.rect.top) return a.rect.top < b.rect.top;
        return a.rect.left < b.rect.left;
    });
    return candidates;
}

}  // namespace

bool TextureAtlas::PlaceBox(std::vector<AtlasBox>& boxes, size_t index, int32_t width, int32_t height, int depth) {
    if (boxes[index].width > static_cast<uint32_t>(width) || boxes[index].height > static_cast<uint32_t>(height) ||
        boxes[index].width == 0 || boxes[index].height == 0)
        return false;
    const std::vector<Candidate> candidates = Candidates(boxes, index, width, height);
    size_t movesTried = 0;
    for (const Candidate& candidate : candidates) {
        if (candidate.overlap == 0) {
            boxes[index].rect = candidate.rect;
            boxes[index].placed = true;
            return true;
        }
        if (depth <= 1 || movesTried++ == kMovesTried) return false;
        std::vector<size_t> inTheWay;
        for (size_t i = 0; i < boxes.size(); ++i)
            if (i != index && boxes[i].placed && Overlap(candidate.rect, boxes[i].rect) > 0) inTheWay.push_back(i);
        const bool allMovable = std::all_of(inTheWay.begin(), inTheWay.end(), [&](size_t i) { return boxes[i].movable; });
        if (!allMovable) continue;
        const std::vector<AtlasBox> before = boxes;
        // The box holds its new place while the others find theirs.
        const bool wasMovable = boxes[index].movable;
        boxes[index].rect = candidate.rect;
        boxes[index].placed = true;
        boxes[index].movable = false;
        for (size_t i : inTheWay) boxes[i].placed = false;
        bool moved = true;
        for (size_t i : inTheWay) moved = moved && PlaceBox(boxes, i, width, height, depth - 1);
        boxes[index].movable = wasMovable;
        if (moved) return true;
        boxes = before;
    }
    return false;
}

bool TextureAtlas::Place(Texture& parent, Texture& sub) {
    std::vector<AtlasBox> boxes;
    for (const auto& placed : parent.subs_) {
        const RECT& r = placed->rect_;
        boxes.push_back({r, static_cast<uint32_t>(r.right - r.left), static_cast<uint32_t>(r.bottom - r.top), true,
                         !placed->hasRect_});
    }
    boxes.push_back({RECT{}, sub.levelDesc_.Width, sub.levelDesc_.Height, false, true});
    const auto width = static_cast<int32_t>(parent.levelDesc_.Width);
    const auto height = static_cast<int32_t>(parent.levelDesc_.Height);
    if (!PlaceBox(boxes, boxes.size() - 1, width, height, 3)) return false;
    for (size_t i = 0; i < parent.subs_.size(); ++i) parent.subs_[i]->rect_ = boxes[i].rect;
    sub.rect_ = boxes.back().rect;
    return true;
}
