// The configuration store: a configuration file at a path read into a record and a record
// written to it, with no message and no global state. Each outcome is a status; the
// window and qorcfg each turn it into their own words.
#pragma once

#include <cstdint>
#include <vector>

#include "config/game_config.h"

enum class LoadStatus {
    kOk,
    kDamaged,      // read, but the file is shorter or longer than its version's layout
    kMissing,      // there is no file
    kNoVersion,    // the file is too short to hold its version
    kHeld,         // the file exists but could not be opened or read, even after waiting
    kNewer,        // its version is above the current one: refused
    kOutOfMemory,
};

// Reads the file at `path` into `config` as the tool reads it: every version up to the
// current one, with the migration defaults, bytes the file lacks as zeros. Waits about a
// second for a program that holds the file. On any status but kOk and kDamaged, `config`
// is unchanged. `bytes`, when given, receives the file as read (for every status that
// read it); `error_number`, when given, the platform's errno of a failed read (0 where
// the platform sets none).
LoadStatus LoadConfigFile(const char* path, GameConfig& config, std::vector<std::uint8_t>* bytes = nullptr,
                          int* error_number = nullptr);

enum class SaveStatus {
    kOk,
    kReadOnly,     // the file may not be overwritten: nothing was touched
    kNotWritten,   // the new content could not be made or written: the file is as it was
    kNotReplaced,  // the file could not be replaced or written in place: it is as it was
};

// Writes `config` to `path` as the current version: to a temporary file beside it, which
// takes the file's place once it is complete on disk (or, where another program holds
// the file so that it cannot be replaced but can be written, whose bytes are written
// into it). The file replaced becomes `path` + ".bak", only once the save succeeded.
// `fill`, when given, runs once the temporary file exists and before any byte is
// written, and may change `config` (the window copies its controls into the record
// there); when it returns false nothing is written (kNotWritten). Nothing of the
// save's own is left beside the file, whatever happens.
SaveStatus SaveConfigFile(const char* path, const GameConfig& config, bool (*fill)() = nullptr);
