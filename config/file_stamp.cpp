// Stamps of the configuration file and their comparison.
#include "config/file_stamp.h"

#include <cstring>

FileStamp StampOf(FileBytes&& file) {
    std::shared_ptr<const std::uint8_t[]> owner(std::move(file.data));
    const std::uint8_t* data = owner.get();
    return {true, file.size, file.write_time, std::shared_ptr<const std::uint8_t>(std::move(owner), data)};
}

FileStamp StampOf(std::vector<std::uint8_t>&& bytes, std::uint64_t write_time) {
    auto owner = std::make_shared<const std::vector<std::uint8_t>>(std::move(bytes));
    const std::uint8_t* data = owner->data();
    return {true, owner->size(), write_time, std::shared_ptr<const std::uint8_t>(std::move(owner), data)};
}

bool SameContent(const FileStamp& a, const FileStamp& b) {
    if (a.exists != b.exists) return false;
    if (!a.exists) return true;
    if (a.size != b.size) return false;
    return a.size == 0 || (a.content && b.content && std::memcmp(a.content.get(), b.content.get(), a.size) == 0);
}

FileCheck CheckFile(const char* path, const FileStamp& expected, FileStamp& found) {
    found = FileStamp{};
    FileBytes bytes;
    switch (ReadFileBytesWaiting(path, bytes)) {
        case ReadStatus::kOk: found = StampOf(std::move(bytes)); break;
        case ReadStatus::kMissing: return expected.exists ? FileCheck::kGone : FileCheck::kUnchanged;
        case ReadStatus::kUnopenable:
        case ReadStatus::kReadError:
        case ReadStatus::kNotAFile:
        case ReadStatus::kOutOfMemory: return FileCheck::kUnreadable;
    }
    return SameContent(found, expected) ? FileCheck::kUnchanged : FileCheck::kChanged;
}
