// A walnut bookcase against the wall on the lamp's side, its shelves filled with bound books.
#include <cmath>

#include "Model.h"
#include "paint/Patterns.h"
#include "RoomLayout.h"
#include "Shapes.h"

namespace room {

using namespace paint;

void BuildBookcase(RoomModel& model) {
    const Vec3 lo = kBookcaseMin, hi = kBookcaseMax;
    SceneObject carcass;
    carcass.name = "Bookcase";
    carcass.material = "Walnut";
    const float side = 2.5f;
    AddBox(carcass.mesh, {lo.x, 0, lo.z}, {lo.x + side, hi.y, hi.z}, 40, kAllFaces & ~kFaceMaxZ & ~kFaceMinY);
    AddBox(carcass.mesh, {hi.x - side, 0, lo.z}, {hi.x, hi.y, hi.z}, 40, kAllFaces & ~kFaceMaxZ & ~kFaceMinY);
    AddBox(carcass.mesh, {lo.x - 2, hi.y, lo.z - 2}, {hi.x + 2, hi.y + 4, hi.z}, 40, kAllFaces & ~kFaceMaxZ);
    AddQuad(carcass.mesh, {lo.x + side, hi.y, hi.z - 0.5f}, {hi.x - lo.x - 2 * side, 0, 0}, {0, -hi.y, 0}, {0, 0, -1},
            {0, 0}, {2, 5});
    AddBox(carcass.mesh, {lo.x + side, 0, lo.z}, {hi.x - side, 10, lo.z + 1.5f}, 40, kFaceMinZ | kFaceMaxY);
    const int shelves = 5;
    const float shelfGap = (hi.y - 10) / shelves;
    SceneObject books;
    books.name = "Books";
    books.material = "Bindings";
    int count = 0;
    for (int s = 0; s < shelves; ++s) {
        const float y = 10 + shelfGap * static_cast<float>(s);
        AddBox(carcass.mesh, {lo.x + side, y - 2, lo.z}, {hi.x - side, y, hi.z - 0.5f}, 40,
               s == 0 ? kFaceMinZ | kFaceMaxY : kFaceMinZ | kFaceMaxY | kFaceMinY);
        // Books stand side by side from the left, a few leaning, with gaps here and there.
        float x = lo.x + side + 1;
        while (true) {
            const float r1 = Hash(count, s, 601), r2 = Hash(count, s, 602), r3 = Hash(count, s, 603);
            const float width = 2.2f + 3.2f * r1, height = std::min(shelfGap - 6, 19 + 12 * r2), depth = 15 + 5 * r3;
            if (x + width > hi.x - side - 1) break;
            if (Hash(count, s, 604) < 0.06f) {
                x += 4;  // a gap
                ++count;
                continue;
            }
            Mesh book;
            AddBox(book, {0, 0, -depth}, {width, height, 0}, 30, kAllFaces & ~kFaceMinY & ~kFaceMaxZ);
            const float stripe = (static_cast<float>(count % 16) + 0.5f) / 16;
            for (MeshVertex& v : book.vertices) v.uv = {stripe, 1 - v.position.y / height};
            const float lean = Hash(count, s, 605) < 0.1f ? 0.12f : 0.0f;
            book.Transform(math::Multiply(math::RotationZ(-lean), math::Translation(x, y, hi.z - 1)));
            books.mesh.Append(book);
            x += width + 0.15f + height * lean;
            ++count;
        }
    }
    model.objects.push_back(std::move(carcass));
    model.objects.push_back(std::move(books));
}

}  // namespace room
