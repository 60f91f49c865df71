#include "app/AddToXScreenSaver.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <system_error>

#include "app/XScreenSaverPrograms.h"

const char* const kXScreenSaverEntry = "  GL:                         quelmont -root                              ";

namespace fs = std::filesystem;

namespace {

// Larger than any settings file; a bigger one is not XScreenSaver's.
constexpr std::uintmax_t kMaxFileSize = 4u << 20;

const char* const kHowToMakeOne =
    "Run xscreensaver-settings (xscreensaver-demo in older releases), change any setting so that it "
    "saves ~/.xscreensaver with the full list of hacks, then run quelmont --add-to-xscreensaver again.\n";

bool ReadFile(const fs::path& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    bytes = text.str();
    return in.good() || in.eof();
}

// Writes `bytes` beside `target` and renames it over `target`, with `mode`: a crash leaves the
// old file or the new one, never half of one.
std::string ReplaceFile(const fs::path& target, const std::string& bytes, mode_t mode) {
    const fs::path partial = target.string() + ".quelmont-new";
    const int fd = ::open(partial.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    if (fd < 0) return "cannot write " + partial.string() + ": " + std::strerror(errno);
    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        written += static_cast<size_t>(n);
    }
    const bool ok = written == bytes.size() && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    const int savedErrno = errno;
    if (::close(fd) != 0 || !ok || ::rename(partial.c_str(), target.c_str()) != 0) {
        const std::string error = std::strerror(ok ? errno : savedErrno);
        ::unlink(partial.c_str());
        return "cannot write " + target.string() + ": " + error;
    }
    return {};
}

}  // namespace

SetupResult AddToXScreenSaver(const fs::path& file) {
    std::error_code error;
    if (!fs::exists(file, error))
        return {1, "quelmont: " + file.string() + " does not exist yet; nothing was changed.\n" + kHowToMakeOne};
    const fs::path real = fs::canonical(file, error);
    struct stat info{};
    if (error || ::stat(real.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return {1, "quelmont: " + file.string() + " is not a file that can be read; nothing was changed.\n"};
    std::string bytes;
    if (static_cast<std::uintmax_t>(info.st_size) > kMaxFileSize || !ReadFile(real, bytes))
        return {1, "quelmont: cannot read " + file.string() + "; nothing was changed.\n"};

    const XScreenSaverPrograms list = ParseXScreenSaverPrograms(bytes);
    if (!list.found)
        return {1, "quelmont: " + file.string() + " has no programs: list; nothing was changed.\n" + kHowToMakeOne};
    if (ListsProgram(list, "quelmont"))
        return {0, "quelmont: XScreenSaver's list in " + file.string() + " already holds quelmont; nothing was changed.\n"};

    const fs::path backup = real.string() + ".before-quelmont";
    const mode_t mode = info.st_mode & 07777;
    if (std::string failure = ReplaceFile(backup, bytes, mode); !failure.empty())
        return {1, "quelmont: " + failure + "; nothing was changed.\n"};
    if (std::string failure = ReplaceFile(real, AppendProgram(bytes, list, kXScreenSaverEntry), mode); !failure.empty())
        return {1, "quelmont: " + failure + "; nothing was changed.\n"};
    return {0, "quelmont: added \"quelmont -root\" to XScreenSaver's list in " + file.string() +
                   " (the file as it was is kept in " + backup.string() +
                   ").\nRestart the daemon so that it reads the list again: xscreensaver-command -restart\n"
                   "Then pick \"Quelmont\" in xscreensaver-settings.\n"};
}

fs::path XScreenSaverUserFile() {
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        if (const passwd* entry = ::getpwuid(::getuid())) home = entry->pw_dir;
    }
    return fs::path(home ? home : ".") / ".xscreensaver";
}
