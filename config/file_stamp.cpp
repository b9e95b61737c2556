// Stamps of the configuration file and their comparison.
#include "config/file_stamp.h"

std::uint64_t ContentHash(std::span<const std::uint8_t> bytes) {
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (std::uint8_t byte : bytes) {
        hash ^= byte;
        hash *= 0x100000001b3u;
    }
    return hash;
}

FileStamp StampOf(std::span<const std::uint8_t> bytes, std::uint64_t write_time) {
    return {true, bytes.size(), write_time, ContentHash(bytes)};
}

bool SameContent(const FileStamp& a, const FileStamp& b) {
    if (a.exists != b.exists) return false;
    return !a.exists || (a.size == b.size && a.hash == b.hash);
}

FileCheck CheckFile(const char* path, const FileStamp& expected, FileStamp& found) {
    found = FileStamp{};
    FileBytes bytes;
    switch (ReadFileBytesWaiting(path, bytes)) {
        case ReadStatus::kOk: found = StampOf(bytes); break;
        case ReadStatus::kMissing: return expected.exists ? FileCheck::kGone : FileCheck::kUnchanged;
        case ReadStatus::kUnopenable:
        case ReadStatus::kReadError:
        case ReadStatus::kOutOfMemory: return FileCheck::kUnreadable;
    }
    return SameContent(found, expected) ? FileCheck::kUnchanged : FileCheck::kChanged;
}
