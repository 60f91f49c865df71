#include <string_view>

#include "Model.h"

namespace room {

Piece PieceOf(const std::string& objectName) {
    const std::string_view name = objectName;
    const auto starts = [&](std::string_view prefix) { return name.starts_with(prefix); };
    if (starts("Clock") || starts("Dial") || starts("strelka") || starts("Pendulum") || starts("Weight"))
        return Piece::kClock;
    if (starts("Lamp")) return Piece::kLamp;
    if (starts("Table") || name == "Book" || starts("Candle")) return Piece::kTable;
    if (starts("Armchair")) return Piece::kArmchair;
    if (starts("Picture")) return Piece::kPicture;
    if (starts("Window") || starts("Curtain") || name == "FonPlane01") return Piece::kWindow;
    if (starts("Bookcase") || name == "Books") return Piece::kBookcase;
    return Piece::kShell;
}

}  // namespace room
