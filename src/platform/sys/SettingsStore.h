#pragma once
// Per-user settings with the registry's model: a key holds named values of type DWORD (32-bit)
// or SZ (text). Opening a key creates it when missing; writes reach the store atomically when the
// key is closed.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace sys {

enum class KeyAccess { Read, Write };

class SettingsKey {
public:
    virtual ~SettingsKey() = default;
    // Whether a value of that name exists, whatever its type.
    virtual bool Contains(std::string_view name) const = 0;
    // False when the value is missing, has another type or cannot be read; `value` is then untouched.
    virtual bool QueryDword(std::string_view name, uint32_t& value) const = 0;
    // At most `maxBytes` bytes of the text (including its terminator, as the registry counts).
    virtual bool QueryString(std::string_view name, std::string& value, size_t maxBytes) const = 0;
    virtual bool SetDword(std::string_view name, uint32_t value) = 0;
    virtual bool SetString(std::string_view name, std::string_view value) = 0;
    // Writes what was set; false when the store could not be written (nothing half-written remains).
    virtual bool Close() = 0;
};

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // Null on failure. `subkey` names the key as the registry path under the current user.
    virtual std::unique_ptr<SettingsKey> OpenKey(std::string_view subkey, KeyAccess access) = 0;
};

SettingsStore& GetSettingsStore();
void SetSettingsStore(SettingsStore* store);  // null restores the platform's

}  // namespace sys
