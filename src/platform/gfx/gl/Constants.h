#pragma once
// What generated shaders read: the object's matrices, which change from draw to draw, as one
// uniform array of the program; everything else in a uniform block laid out as GLSL's std140
// lays it out.

#include "platform/gfx/StateDevice.h"

namespace gfx::gl {

struct LightConstants {
    float diffuse[4], specular[4], ambient[4];
    float position[4], direction[4];
    float params0[4], params1[4];
};

struct ObjectConstants {
    float worldView[16];
    float normalMatrix[16];
};
static_assert(sizeof(ObjectConstants) == 2 * 16 * sizeof(float), "sent as one array of two matrices");

struct FixedFunctionConstants {
    float projection[16];
    float textureMatrix[kMaxTextureStages][16];
    float materialDiffuse[4], materialAmbient[4], materialSpecular[4], materialEmissive[4];
    float globalAmbient[4];
    float textureFactor[4];
    float fogColor[4];
    float fogParams[4];
    float misc[4];
    LightConstants lights[kMaxActiveLights];
};

// Fills both from the device state for a back buffer of the given size; `lights` lists the
// device indexes of the lights the shader uses, in order.
void FillConstants(const StateDevice& device, const uint32_t* lights, uint32_t lightCount, uint32_t width,
                   uint32_t height, ObjectConstants& object, FixedFunctionConstants& out);

}  // namespace gfx::gl
