#include "common/Log.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

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

void Write(std::string_view text) {
    std::FILE* file = Trace().Get();
    if (!file) return;
    std::fwrite(text.data(), 1, text.size(), file);
    std::fflush(file);
}

}  // namespace

void Log(EngineString text) { Write(text.view()); }

// The caption is always empty in the engine's calls; only the text is kept.
void LogError(EngineString /*caption*/, EngineString text) { Write(text.view()); }

void Log(const char* text) { Write(text ? text : ""); }

void LogError(const char* /*caption*/, const char* text) { Write(text ? text : ""); }

void SetTracePath(const char* path) { Trace().Open(path); }
