#include "common/Log.h"

#include <cstdio>
#include <cstdlib>

namespace {

struct TraceFile {
    std::FILE* file = nullptr;
    bool initialised = false;

    ~TraceFile() { Close(); }
    void Close() {
        if (file) std::fclose(file);
        file = nullptr;
    }
    void Open(const char* path) {
        Close();
        initialised = true;
        if (path && *path) file = std::fopen(path, "ab");
    }
    std::FILE* Get() {
        if (!initialised) Open(std::getenv("QUELMONT_TRACE"));
        return file;
    }
};

TraceFile& Trace() {
    static TraceFile trace;
    return trace;
}

void Write(const EngineString& text) {
    std::FILE* file = Trace().Get();
    if (!file) return;
    std::fwrite(text.c_str(), 1, text.length(), file);
    std::fflush(file);
}

}  // namespace

void Log(EngineString text) { Write(text); }

// The caption is always empty in the engine's calls; only the text is kept.
void LogError(EngineString /*caption*/, EngineString text) { Write(text); }

void SetTracePath(const char* path) { Trace().Open(path); }
