// The configuration store: a configuration file at a path read into a record and a record
// written to it, with no message and no global state. Each outcome is a status; the
// window and qorcfg each turn it into their own words.
#pragma once

#include <cstdint>
#include <vector>

#include "config/file_stamp.h"
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
// is unchanged. When given: `bytes` receives the file as read (for every status that
// read it), `error_number` the platform's errno of a failed read (0 where the platform
// sets none), `stamp` the stamp of what was read (exists false when nothing was).
LoadStatus LoadConfigFile(const char* path, GameConfig& config, std::vector<std::uint8_t>* bytes = nullptr,
                          int* error_number = nullptr, FileStamp* stamp = nullptr);

enum class SaveStatus {
    kSaved,
    kChanged,      // the file was not what the caller expected: nothing was written
    kReadOnly,     // the file may not be overwritten: nothing was touched
    kNotWritten,   // the new content could not be made or written: the file is as it was
    kNotReplaced,  // the file could not be replaced or written in place: it is as it was
    kHeld,         // another program holds the file so that it could be neither read nor
                   // replaced, even after waiting: it is as it was
};

// Writes `config` to `path` as the current version: to a temporary file beside it, which
// takes the file's place once it is complete on disk (or, where another program holds
// the file so that it cannot be replaced but can be written, whose bytes are written
// into it). The file replaced becomes `path` + ".bak", only once the save succeeded.
// `fill`, when given, runs once the temporary file exists and before any byte is
// written, and may change `config` (the window copies its controls into the record
// there); when it returns false nothing is written (kNotWritten). `expected`, when
// given, is the file the caller read: the file is read once more just before it is
// replaced, and a save finds kChanged unless it still is that file (or is still missing
// when it was); those bytes become the backup, so the backup is always the file that
// was checked. A file that cannot be read then, even after waiting, is not called
// changed: the save goes on without a backup of it. A backup that cannot be refreshed
// is removed rather than left to stand for the file before this save (see
// ConfigBackupIsOlder for where even that fails). `written`, when given, receives the stamp of the file saved. Nothing of
// the save's own is left beside the file, whatever happens.
SaveStatus SaveConfigFile(const char* path, const GameConfig& config, bool (*fill)() = nullptr,
                          const FileStamp* expected = nullptr, FileStamp* written = nullptr);

enum class RestoreStatus {
    kRestored,
    kNoBackup,          // there is no backup beside the file
    kBackupUnreadable,  // it is there but cannot be read
    kBackupUnusable,    // it holds no configuration the tool reads (too short, newer)
    kFailed,            // the save failed: file and backup are as they were
    kChanged,           // the file was not what the caller expected: nothing was written
};

// Puts the backup of `path` back as the file, byte for byte, through the same save (the
// file it replaces becomes the new backup; a missing file leaves none), and on success
// decodes it into `config`; `expected` is checked as a save checks it; `written`
// receives the stamp of the file restored.
RestoreStatus RestoreConfigFile(const char* path, GameConfig& config, const FileStamp* expected = nullptr,
                                FileStamp* written = nullptr);

// True when `path` has a backup file beside it.
bool ConfigBackupExists(const char* path);

// True when a save or restore in this process succeeded but could neither refresh nor
// remove the backup of `path` (another program held it without sharing): it still holds
// the file from before an earlier save. False again once a save refreshes it.
bool ConfigBackupIsOlder(const char* path);

// Tests only: called by every save just before it reads the file for the last time and
// replaces it, which is where another program's write would otherwise be lost. Null
// for none.
void SetBeforeReplaceHook(void (*hook)());
