#pragma once
// One kind of medium (the room, the sounds, the fonts, ...) made from source. Each kind lives in
// its own subfolder and registers itself with a static MediaGeneratorRegistration, so the
// generator's frame needs no edit when a kind is added.

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

struct MediaGenerator {
    // Where a kind's files go: into the archive's "Media" folder; beside the archive, as the
    // resources the program links one by one (the startup picture, the preview bitmap); or
    // nowhere in a normal run, for files installed for the desktop (the icons), which only
    // `mediagen --kind NAME DIR` makes.
    enum Output { kArchive, kProgram, kDesktop };

    // Orders the kinds; the run is sequential in name order so the output never depends on
    // registration order.
    const char* name;
    // Writes the kind's files into `dir` (the folder of its output); false on failure.
    bool (*generate)(const std::filesystem::path& dir);
    Output output = kArchive;
};

std::vector<MediaGenerator>& RegisteredMediaGenerators();

struct MediaGeneratorRegistration {
    explicit MediaGeneratorRegistration(MediaGenerator generator) {
        RegisteredMediaGenerators().push_back(generator);
    }
};

// Writes a whole file; false, with a message, when it cannot or when `bytes` is empty (an
// encoder's failure).
bool WriteMediaFile(const std::filesystem::path& path, std::span<const uint8_t> bytes);
