#pragma once
// A single ray for the ray tracing library, set up the way every caller here needs it.

#include <embree3/rtcore.h>

#include "common/math/Math.h"

namespace room {

inline RTCRayHit MakeRayHit(math::Vec3 origin, math::Vec3 direction, float maxDistance) {
    RTCRayHit hit{};
    hit.ray.org_x = origin.x;
    hit.ray.org_y = origin.y;
    hit.ray.org_z = origin.z;
    hit.ray.dir_x = direction.x;
    hit.ray.dir_y = direction.y;
    hit.ray.dir_z = direction.z;
    hit.ray.tnear = 0;
    hit.ray.tfar = maxDistance;
    hit.ray.mask = 0xFFFFFFFF;  // the library is built with ray masks: without this nothing is hit
    hit.hit.geomID = RTC_INVALID_GEOMETRY_ID;
    return hit;
}

}  // namespace room
