// Reading a configuration file without the side effects of the tool's start-up load:
// nothing is created, replaced or shown. The file is read as the store reads it, in one
// call into a buffer of its size.
#pragma once

#include <cstdint>
#include <vector>

#include "config/file_stamp.h"
#include "config/game_config.h"

enum class FileReadStatus { kOk, kMissing, kCannotRead, kOutOfMemory };

// The whole file at `path`. `error_number` receives errno where the platform sets it
// (0 otherwise) for kMissing and kCannotRead. `stamp`, when given, receives the stamp of
// what was read (exists false when the file is missing).
FileReadStatus ReadInputFile(const char* path, std::vector<std::uint8_t>& bytes, int& error_number,
                             FileStamp* stamp = nullptr);

// The whole of standard input.
FileReadStatus ReadStandardInput(std::vector<std::uint8_t>& bytes, int& error_number);

enum class ConfigReadStatus { kOk, kMissing, kCannotRead, kNoVersion, kTooNew, kOutOfMemory };

// Reads and decodes the file at `path` into `config`, as the tool's load would read
// it (every version up to the current one, migration defaults, missing bytes as zeros).
// `bytes` receives the file as read, `stamp` its stamp. On any status but kOk, `config`
// is unchanged.
ConfigReadStatus ReadConfigFile(const char* path, std::vector<std::uint8_t>& bytes, GameConfig& config,
                                int& error_number, FileStamp* stamp = nullptr);
