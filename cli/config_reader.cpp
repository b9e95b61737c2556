// Reading a configuration file in one call, without creating it or showing messages.
#include "cli/config_reader.h"

#include <cerrno>
#include <cstdio>
#include <new>

#include "config/config_codec.h"

FileReadStatus ReadFileBytes(const char* path, std::vector<std::uint8_t>& bytes, int& error_number) {
    errno = 0;
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        error_number = errno;
        return errno == ENOENT ? FileReadStatus::kMissing : FileReadStatus::kCannotRead;
    }
    // Unbuffered, so the one fread below is one read of the whole file.
    std::setvbuf(file, nullptr, _IONBF, 0);
    FileReadStatus status = FileReadStatus::kOk;
    long size = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) size = std::ftell(file);
    if (size < 0 || std::fseek(file, 0, SEEK_SET) != 0) {
        error_number = errno;
        std::fclose(file);
        return FileReadStatus::kCannotRead;
    }
    try {
        bytes.resize(static_cast<std::size_t>(size));
        const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file);
        if (std::ferror(file)) {
            error_number = errno;
            status = FileReadStatus::kCannotRead;
        }
        bytes.resize(got);  // a file that shrank meanwhile is what was read
    } catch (const std::bad_alloc&) {
        status = FileReadStatus::kOutOfMemory;
    }
    std::fclose(file);
    return status;
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
                                int& error_number) {
    switch (ReadFileBytes(path, bytes, error_number)) {
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
