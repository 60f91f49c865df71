#include "Model.h"
#include "RoomLayout.h"

namespace room {

std::vector<Obstacle> Obstacles() {
    return {
        {{kClockBack - 34, 0, -30}, {kClockBack, 232, 30}},                                       // clock
        {{kLampBase.x - 25, 0, kLampBase.z - 25}, {kLampBase.x + 25, kLampShadeTop + 2, kLampBase.z + 25}},  // lamp
        {{kTableCentre.x - 25, 0, kTableCentre.z - 25}, {kRoomMax.x, 95, kTableCentre.z + 25}},   // table, candle
        {{kChairCentre.x - 45, 0, kChairCentre.z - 45}, {kChairCentre.x + 45, 105, kRoomMax.z}},  // armchair
        {{180, 0, kRoomMin.z}, {kRoomMax.x, 252, -145}},                                        // curtain
        {kBookcaseMin, {kBookcaseMax.x, kBookcaseMax.y + 4, kBookcaseMax.z}},                     // bookcase
    };
}

}  // namespace room
