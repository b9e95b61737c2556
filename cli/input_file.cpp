// Reading the files qorcfg imports.
#include "cli/input_file.h"

#include <cerrno>
#include <cstdio>
#include <new>

#include "config/file_system.h"

FileReadStatus ReadInputFile(const char* path, std::vector<std::uint8_t>& bytes, int& error_number) {
    // The store's read: one call into a buffer of the file's size, sharing the file with
    // any program that holds it. errno says why on POSIX; Windows leaves it at 0.
    errno = 0;
    FileBytes file;
    const ReadStatus status = ReadFileBytes(path, file);
    error_number = errno;
    switch (status) {
        case ReadStatus::kOk: break;
        case ReadStatus::kMissing: return FileReadStatus::kMissing;
        case ReadStatus::kUnopenable:
        case ReadStatus::kReadError: return FileReadStatus::kCannotRead;
        case ReadStatus::kOutOfMemory: return FileReadStatus::kOutOfMemory;
    }
    try {
        bytes.assign(file.data.get(), file.data.get() + file.size);
    } catch (const std::bad_alloc&) {
        return FileReadStatus::kOutOfMemory;
    }
    return FileReadStatus::kOk;
}

FileReadStatus ReadStandardInput(std::vector<std::uint8_t>& bytes, int& error_number) {
    try {
        bytes.clear();
        std::uint8_t chunk[65536];
        std::size_t got;
        while ((got = std::fread(chunk, 1, sizeof chunk, stdin)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
    } catch (const std::bad_alloc&) {
        return FileReadStatus::kOutOfMemory;
    }
    if (std::ferror(stdin)) {
        error_number = errno;
        return FileReadStatus::kCannotRead;
    }
    return FileReadStatus::kOk;
}
