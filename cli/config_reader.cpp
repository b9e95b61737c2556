// Reading a configuration file without creating it or showing messages.
#include "cli/config_reader.h"

#include <cerrno>
#include <cstdio>
#include <new>

#include "config/config_codec.h"
#include "config/file_system.h"

FileReadStatus ReadInputFile(const char* path, std::vector<std::uint8_t>& bytes, int& error_number,
                             FileStamp* stamp) {
    // The store's read: one call into a buffer of the file's size, sharing the file with
    // any program that holds it. errno says why on POSIX; Windows leaves it at 0.
    errno = 0;
    FileBytes file;
    const ReadStatus status = ReadFileBytes(path, file);
    error_number = errno;
    if (stamp != nullptr) *stamp = status == ReadStatus::kOk ? StampOf(file) : FileStamp{};
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

ConfigReadStatus ReadConfigFile(const char* path, std::vector<std::uint8_t>& bytes, GameConfig& config,
                                int& error_number, FileStamp* stamp) {
    switch (ReadInputFile(path, bytes, error_number, stamp)) {
        case FileReadStatus::kOk: break;
        case FileReadStatus::kMissing: return ConfigReadStatus::kMissing;
        case FileReadStatus::kCannotRead: return ConfigReadStatus::kCannotRead;
        case FileReadStatus::kOutOfMemory: return ConfigReadStatus::kOutOfMemory;
    }
    switch (DecodeConfig(bytes, config)) {
        case DecodeStatus::kOk: return ConfigReadStatus::kOk;
        case DecodeStatus::kTooNew: return ConfigReadStatus::kTooNew;
        case DecodeStatus::kNoVersion: return ConfigReadStatus::kNoVersion;
        case DecodeStatus::kOutOfMemory: return ConfigReadStatus::kOutOfMemory;
    }
    return ConfigReadStatus::kCannotRead;
}
