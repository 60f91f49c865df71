// Any bytes loaded as a scene file on the recording device, then drawn once through the scene
// pass with its lights, so meshes, skinning and state application all run on what was read.
#include <cstddef>
#include <cstdint>

#include "platform/gfx/RecordingDevice.h"
#include "scene/RenderDevice.h"
#include "scene/RenderSorter.h"
#include "scene/Scene.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > UINT32_MAX) return 0;
    // Made per input, so nothing one input allocates outlives it: libFuzzer takes memory that
    // grows from input to input for a leak, and checks each such input again.
    gfx::RecordingDevice device;
    PublishedDevice published(device);
    {
        Scene scene{SceneContext{}};
        scene.loadFromMemory(data, static_cast<uint32_t>(size), "");
        scene.root().playAnimation(0, "", true);
        RenderSorter sorter;
        sorter.setLights(&scene.lights());
        sorter.flags = RenderContext::kExplicitTime | RenderContext::kSkipVisibility;
        sorter.time = 0.5f;
        RunScenePass(scene.root(), sorter);
        scene.onDeviceLost();
        scene.onDeviceReset();
    }
    return 0;
}
