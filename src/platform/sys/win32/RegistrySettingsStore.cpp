// Settings in the registry under HKEY_CURRENT_USER. Writes are kept until the key is closed and
// then set in the order they were made, so a key opened for writing and dropped changes nothing.

#include <windows.h>

#include <string>
#include <vector>

#include "platform/sys/SettingsStore.h"

namespace sys {
namespace {

struct PendingValue {
    std::string name;
    DWORD type;
    std::string bytes;
};

class RegistryKey final : public SettingsKey {
public:
    RegistryKey(HKEY key, KeyAccess access) : key_(key), access_(access) {}
    ~RegistryKey() override {
        Close();
        RegCloseKey(key_);
    }

    bool Contains(std::string_view name) const override {
        return RegQueryValueExA(key_, std::string(name).c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    }

    bool QueryDword(std::string_view name, uint32_t& value) const override {
        DWORD type = 0;
        DWORD data = 0;
        DWORD size = sizeof data;
        const LONG result = RegQueryValueExA(key_, std::string(name).c_str(), nullptr, &type,
                                             reinterpret_cast<BYTE*>(&data), &size);
        if (result != ERROR_SUCCESS || type != REG_DWORD || size != sizeof data) return false;
        value = data;
        return true;
    }

    bool QueryString(std::string_view name, std::string& value, size_t maxBytes) const override {
        std::string buffer(maxBytes, '\0');
        DWORD type = 0;
        DWORD size = static_cast<DWORD>(buffer.size());
        const LONG result = RegQueryValueExA(key_, std::string(name).c_str(), nullptr, &type,
                                             reinterpret_cast<BYTE*>(buffer.data()), &size);
        if (result != ERROR_SUCCESS || type != REG_SZ) return false;
        // The stored bytes may or may not end with the terminator; the text ends at the first.
        buffer.resize(size);
        const size_t end = buffer.find('\0');
        if (end != std::string::npos) buffer.resize(end);
        // As the registry counts: the text needs room for its terminator.
        if (buffer.size() + 1 > maxBytes) return false;
        value = std::move(buffer);
        return true;
    }

    bool SetDword(std::string_view name, uint32_t value) override {
        const DWORD data = value;
        return Set(name, REG_DWORD, std::string(reinterpret_cast<const char*>(&data), sizeof data));
    }

    bool SetString(std::string_view name, std::string_view value) override {
        // Stored with its terminator, as readers of REG_SZ expect.
        std::string bytes(value);
        bytes.push_back('\0');
        return Set(name, REG_SZ, std::move(bytes));
    }

    bool Close() override {
        bool written = true;
        for (const PendingValue& value : pending_) {
            written = RegSetValueExA(key_, value.name.c_str(), 0, value.type,
                                     reinterpret_cast<const BYTE*>(value.bytes.data()),
                                     static_cast<DWORD>(value.bytes.size())) == ERROR_SUCCESS &&
                      written;
        }
        pending_.clear();
        return written;
    }

private:
    bool Set(std::string_view name, DWORD type, std::string bytes) {
        if (access_ != KeyAccess::Write) return false;
        pending_.push_back({std::string(name), type, std::move(bytes)});
        return true;
    }

    HKEY key_;
    KeyAccess access_;
    std::vector<PendingValue> pending_;
};

class RegistrySettingsStore final : public SettingsStore {
public:
    std::unique_ptr<SettingsKey> OpenKey(std::string_view subkey, KeyAccess access) override {
        HKEY key = nullptr;
        // Opening creates the key when it is missing, for reading as for writing.
        const REGSAM rights = access == KeyAccess::Write ? KEY_READ | KEY_WRITE : KEY_READ;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, std::string(subkey).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                            rights, nullptr, &key, nullptr) != ERROR_SUCCESS)
            return nullptr;
        return std::make_unique<RegistryKey>(key, access);
    }
};

}  // namespace

SettingsStore& PlatformSettingsStore() {
    static RegistrySettingsStore store;
    return store;
}

}  // namespace sys
