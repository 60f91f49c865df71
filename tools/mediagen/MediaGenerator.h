#pragma once
// One kind of medium (the room, the sounds, the fonts, ...) made from source. Each kind lives in
// its own subfolder and registers itself with a static MediaGeneratorRegistration, so the
// generator's frame needs no edit when a kind is added.

#include <filesystem>
#include <vector>

struct MediaGenerator {
    // Orders the kinds; the run is sequential in name order so the output never depends on
    // registration order.
    const char* name;
    // Writes the kind's files into `mediaDir` (the archive's "Media" folder); false on failure.
    bool (*generate)(const std::filesystem::path& mediaDir);
    // False for a kind that is installed beside the program rather than packed into its archive
    // (the desktop's icons): only `mediagen --kind NAME DIR` makes it.
    bool archived = true;
};

std::vector<MediaGenerator>& RegisteredMediaGenerators();

struct MediaGeneratorRegistration {
    explicit MediaGeneratorRegistration(MediaGenerator generator) {
        RegisteredMediaGenerators().push_back(generator);
    }
};
