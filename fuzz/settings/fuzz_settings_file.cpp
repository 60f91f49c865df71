// Any bytes as the per-user settings file: read through the store as the saver starts, every
// value queried with both types; and the text a save would write from them must read back as
// itself. (Saving to disk is left to the tests: its sync would slow the fuzzer to a crawl.)
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/sys/linux/KeyFileSettingsStore.h"
#include "platform/sys/linux/KeyFileText.h"
#include "shell/SettingsRecord.h"
#include "shell/SettingsTable.h"

namespace {

std::string g_folder;

void RemoveFolder() {
    std::remove(sys::KeyFileSettingsStore::FilePath().c_str());
    rmdir((g_folder + "/quelmont").c_str());
    rmdir(g_folder.c_str());
}

// The store reads $XDG_CONFIG_HOME/quelmont/settings.ini: a private folder for this process, in
// memory where the system has a place for that (each input is written there), gone at exit.
std::string SettingsPath() {
    static const std::string path = [] {
        struct stat shm {};
        std::string pattern = stat("/dev/shm", &shm) == 0 && S_ISDIR(shm.st_mode) ? "/dev/shm" : "/tmp";
        pattern += "/fuzz-settings-XXXXXX";
        if (!mkdtemp(pattern.data())) std::abort();
        g_folder = pattern;
        setenv("XDG_CONFIG_HOME", g_folder.c_str(), 1);
        const std::string dir = g_folder + "/quelmont";
        if (mkdir(dir.c_str(), 0700) != 0) std::abort();
        std::atexit(&RemoveFolder);
        return sys::KeyFileSettingsStore::FilePath();
    }();
    return path;
}

void ReadAll(sys::SettingsStore& store) {
    // Read access never writes, so a damaged file stays as it is.
    auto key = store.OpenKey(kSettingsKey, sys::KeyAccess::Read);
    if (!key) return;
    for (const SettingField& field : kSettingFields) {
        uint32_t number = 0;
        std::string text;
        key->QueryDword(field.name, number);
        key->QueryString(field.name, text, 256);
    }
    std::string photo;
    key->QueryString("PhotoPath", photo, 256);
    key->Close();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = SettingsPath();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) std::abort();
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    sys::KeyFileSettingsStore store;
    ReadAll(store);
    const std::string written = sys::KeyFileText::Parse({reinterpret_cast<const char*>(data), size}).Text();
    if (sys::KeyFileText::Parse(written).Text() != written) std::abort();
    return 0;
}
