#include "platform/sys/linux/KeyFileSettingsStore.h"

#include <glib.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>

namespace sys {
namespace {

constexpr std::string_view kDwordPrefix = "dword:";
constexpr std::string_view kStringPrefix = "sz:";

struct KeyFileDeleter {
    void operator()(GKeyFile* file) const { g_key_file_free(file); }
};
using KeyFilePtr = std::unique_ptr<GKeyFile, KeyFileDeleter>;

std::string ConfigDirectory() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg == '/') return std::string(xdg) + "/quelmont";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.config/quelmont";
}

bool EnsureDirectory(const std::string& directory) {
    return g_mkdir_with_parents(directory.c_str(), 0700) == 0;
}

// Saves through a temporary file and a rename, so a crash never leaves half a file.
bool SaveAtomically(GKeyFile* file, const std::string& path) {
    GError* error = nullptr;
    const bool ok = g_key_file_save_to_file(file, path.c_str(), &error);
    if (error) g_error_free(error);
    return ok;
}

class KeyFileKey final : public SettingsKey {
public:
    KeyFileKey(KeyFilePtr file, std::string group, std::string path, KeyAccess access)
        : file_(std::move(file)), group_(std::move(group)), path_(std::move(path)), access_(access) {}
    ~KeyFileKey() override { Close(); }

    bool QueryDword(std::string_view name, uint32_t& value) const override {
        std::string raw;
        if (!Raw(name, raw) || !raw.starts_with(kDwordPrefix)) return false;
        const char* begin = raw.data() + kDwordPrefix.size();
        const char* end = raw.data() + raw.size();
        if (end - begin < 1 || end - begin > 8) return false;
        uint32_t parsed = 0;
        const auto [ptr, ec] = std::from_chars(begin, end, parsed, 16);
        if (ec != std::errc() || ptr != end) return false;
        value = parsed;
        return true;
    }

    bool QueryString(std::string_view name, std::string& value, size_t maxBytes) const override {
        std::string raw;
        if (!Raw(name, raw) || !raw.starts_with(kStringPrefix)) return false;
        std::string text = raw.substr(kStringPrefix.size());
        // The registry refuses a value that does not fit with its terminator.
        if (text.size() + 1 > maxBytes) return false;
        value = std::move(text);
        return true;
    }

    bool SetDword(std::string_view name, uint32_t value) override {
        char text[16];
        std::snprintf(text, sizeof text, "dword:%08x", value);
        return Set(name, text);
    }

    bool SetString(std::string_view name, std::string_view value) override {
        return Set(name, std::string(kStringPrefix) + std::string(value));
    }

    bool Close() override {
        if (!dirty_) return true;
        dirty_ = false;
        return SaveAtomically(file_.get(), path_);
    }

private:
    bool Raw(std::string_view name, std::string& out) const {
        gchar* text = g_key_file_get_string(file_.get(), group_.c_str(), std::string(name).c_str(), nullptr);
        if (!text) return false;
        out = text;
        g_free(text);
        return true;
    }

    bool Set(std::string_view name, const std::string& raw) {
        if (access_ != KeyAccess::Write) return false;
        g_key_file_set_string(file_.get(), group_.c_str(), std::string(name).c_str(), raw.c_str());
        dirty_ = true;
        return true;
    }

    KeyFilePtr file_;
    std::string group_;
    std::string path_;
    KeyAccess access_;
    bool dirty_ = false;
};

}  // namespace

std::string KeyFileSettingsStore::FilePath() { return ConfigDirectory() + "/settings.ini"; }

std::unique_ptr<SettingsKey> KeyFileSettingsStore::OpenKey(std::string_view subkey, KeyAccess access) {
    const std::string path = FilePath();
    const std::string group(subkey);
    KeyFilePtr file(g_key_file_new());
    GError* error = nullptr;
    const bool loaded = g_key_file_load_from_file(file.get(), path.c_str(), G_KEY_FILE_KEEP_COMMENTS, &error);
    const bool missing = !loaded && error && error->domain == G_FILE_ERROR && error->code == G_FILE_ERROR_NOENT;
    const bool unreadable = !loaded && !missing && (!error || error->domain != G_KEY_FILE_ERROR);
    if (error) g_error_free(error);
    if (unreadable) return nullptr;
    if (!loaded) {
        // A damaged file is left alone until the user saves; then it is replaced.
        file.reset(g_key_file_new());
        if (missing) {
            // Like the registry, the first access creates the (empty) key.
            if (!EnsureDirectory(ConfigDirectory())) return nullptr;
            g_key_file_set_comment(file.get(), nullptr, nullptr, " Quelmont settings", nullptr);
            if (!SaveAtomically(file.get(), path)) return nullptr;
        }
    }
    if (access == KeyAccess::Write && !EnsureDirectory(ConfigDirectory())) return nullptr;
    return std::make_unique<KeyFileKey>(std::move(file), group, path, access);
}

SettingsStore& PlatformSettingsStore() {
    static KeyFileSettingsStore store;
    return store;
}

}  // namespace sys
