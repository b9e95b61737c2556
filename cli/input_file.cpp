// Reading the files qorcfg imports.
#include "cli/input_file.h"

#include <cerrno>
#include <cstdio>

FileReadStatus ReadInputFile(const char* path, FileBytes& bytes, int& error_number) {
    // The store's read: one call into a buffer of the file's size, sharing the file with
    // any program that holds it. errno says why on POSIX; Windows leaves it at 0.
    errno = 0;
    const ReadStatus status = ReadFileBytes(path, bytes);
    error_number = errno;
    switch (status) {
        case ReadStatus::kOk: return FileReadStatus::kOk;
        case ReadStatus::kMissing: return FileReadStatus::kMissing;
        case ReadStatus::kUnopenable:
        case ReadStatus::kReadError:
        case ReadStatus::kNotAFile: return FileReadStatus::kCannotRead;
        case ReadStatus::kOutOfMemory: return FileReadStatus::kOutOfMemory;
    }
    return FileReadStatus::kCannotRead;
}

FileReadStatus ReadStandardInput(FileBytes& bytes, int& error_number) {
    // Of unknown length: read as a file that keeps growing, its buffer doubling.
    constexpr std::size_t kFirstRead = 65536;
    const ReadStatus status = ReadWholeOpenFile(
        kFirstRead,
        [](std::size_t, std::uint8_t* into, std::size_t room, std::size_t& got) {
            got = std::fread(into, 1, room, stdin);
            return !std::ferror(stdin);
        },
        bytes);
    if (status == ReadStatus::kOutOfMemory) return FileReadStatus::kOutOfMemory;
    if (status != ReadStatus::kOk) {
        error_number = errno;
        return FileReadStatus::kCannotRead;
    }
    return FileReadStatus::kOk;
}
