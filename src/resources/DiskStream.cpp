#include "resources/DiskStream.h"

#include <sys/stat.h>

#include <algorithm>
#include <string>

DiskStream::~DiskStream() { Close(); }

bool DiskStream::Open(const char* name, int mode) {
    Close();
    if (!name) return false;
    std::string modeText;
    if (mode & kRead) modeText += 'r';
    if (mode & kWrite) modeText += 'w';
    modeText += 'b';
    std::string path(name);
    std::replace(path.begin(), path.end(), '\\', '/');
    file_ = std::fopen(path.c_str(), modeText.c_str());
    if (!file_) return false;
    struct stat info {};
    if (fstat(fileno(file_), &info) != 0 || S_ISDIR(info.st_mode)) {
        Close();
        return false;
    }
    return true;
}

bool DiskStream::Close() {
    if (!file_) return true;
    const bool ok = std::fclose(file_) == 0;
    file_ = nullptr;
    return ok;
}

uint32_t DiskStream::Tell() const { return file_ ? static_cast<uint32_t>(std::ftell(file_)) : UINT32_MAX; }

uint32_t DiskStream::Size() const {
    if (!file_) return 0;
    std::fflush(file_);  // pending writes count
    struct stat info {};
    if (fstat(fileno(file_), &info) != 0) return 0;
    return static_cast<uint32_t>(std::min<int64_t>(info.st_size, UINT32_MAX));
}

bool DiskStream::Seek(int64_t position, int origin) {
    if (!file_) return false;
    const int whence = origin == kFromStart ? SEEK_SET : origin == kFromCurrent ? SEEK_CUR : SEEK_END;
    return std::fseek(file_, static_cast<long>(position), whence) == 0;
}

bool DiskStream::IsEof() const { return !file_ || std::feof(file_) != 0; }

uint32_t DiskStream::Read(void* buffer, uint32_t count) {
    // An empty request may come with no buffer at all.
    return file_ && count > 0 ? static_cast<uint32_t>(std::fread(buffer, 1, count, file_)) : 0;
}

uint32_t DiskStream::Write(const void* buffer, uint32_t count) {
    return file_ && count > 0 ? static_cast<uint32_t>(std::fwrite(buffer, 1, count, file_)) : 0;
}
