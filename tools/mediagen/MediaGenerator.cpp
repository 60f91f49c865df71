#include "MediaGenerator.h"

std::vector<MediaGenerator>& RegisteredMediaGenerators() {
    static std::vector<MediaGenerator> generators;
    return generators;
}
