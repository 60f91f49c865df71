#pragma once
// A process-wide service with a platform default that tests (or a recording run) may replace.

namespace sys {

template <typename Service, Service& (*PlatformDefault)()>
class Installable {
public:
    static Service& Get() { return installed_ ? *installed_ : PlatformDefault(); }
    // Null restores the platform's own; the caller keeps ownership of what it installs.
    static void Set(Service* service) { installed_ = service; }

private:
    static inline Service* installed_ = nullptr;
};

}  // namespace sys
