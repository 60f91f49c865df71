#include "platform/sys/linux/KeyFileSettingsStore.h"

#include <glib.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>

#include "platform/sys/linux/KeyFileText.h"

namespace sys {
namespace {

constexpr std::string_view kDwordPrefix = "dword:";
constexpr std::string_view kStringPrefix = "sz:";

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
bool SaveAtomically(const KeyFileText& file, const std::string& path) {
    const std::string text = file.Text();
    return g_file_set_contents(path.c_str(), text.data(), static_cast<gssize>(text.size()), nullptr);
}

enum class FileState { Read, Missing, Unreadable };

FileState ReadText(const std::string& path, std::string& text) {
    gchar* contents = nullptr;
    gsize length = 0;
    GError* error = nullptr;
    if (g_file_get_contents(path.c_str(), &contents, &length, &error)) {
        text.assign(contents, length);
        g_free(contents);
        return FileState::Read;
    }
    const bool missing = error && error->domain == G_FILE_ERROR && error->code == G_FILE_ERROR_NOENT;
    if (error) g_error_free(error);
    return missing ? FileState::Missing : FileState::Unreadable;
}

class KeyFileKey final : public SettingsKey {
public:
    KeyFileKey(KeyFileText file, std::string group, std::string path, KeyAccess access)
        : file_(std::move(file)), group_(std::move(group)), path_(std::move(path)), access_(access) {}
    ~KeyFileKey() override { Close(); }

    bool Contains(std::string_view name) const override {
        std::string raw;
        return Raw(name, raw);
    }

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
        return SaveAtomically(file_, path_);
    }

private:
    bool Raw(std::string_view name, std::string& out) const { return file_.Get(group_, name, out); }

    bool Set(std::string_view name, const std::string& raw) {
        if (access_ != KeyAccess::Write) return false;
        file_.Set(group_, name, raw);
        dirty_ = true;
        return true;
    }

    KeyFileText file_;
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
    std::string text;
    const FileState state = ReadText(path, text);
    if (state == FileState::Unreadable) return nullptr;
    // Line by line: a damaged line is passed over, and stays in the file until the user saves.
    KeyFileText file = KeyFileText::Parse(text);
    if (state == FileState::Missing) {
        // Like the registry, the first access creates the (empty) key.
        if (!EnsureDirectory(ConfigDirectory())) return nullptr;
        file.AddComment(" Quelmont settings");
        if (!SaveAtomically(file, path)) return nullptr;
    }
    if (access == KeyAccess::Write && !EnsureDirectory(ConfigDirectory())) return nullptr;
    return std::make_unique<KeyFileKey>(std::move(file), group, path, access);
}

SettingsStore& PlatformSettingsStore() {
    static KeyFileSettingsStore store;
    return store;
}

}  // namespace sys
