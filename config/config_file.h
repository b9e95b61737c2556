// Loading and saving Data\GameConfig.dat, relative to the current directory.
#pragma once

#include "config/file_stamp.h"
#include "config/game_config.h"

// Fills game_config from the file, creating it with defaults when it is missing (or too
// short to hold its version). A file that exists but cannot be opened or read, even after
// about a second of waiting for a program that holds it, fails the load and is left as it
// is. False means start-up must stop; the messages have already been shown.
bool LoadConfig();

// Writes game_config to the file as the current version: through a temporary file that
// replaces the old one, or, when another program holds the file so that it cannot be
// replaced but can be written, into the file in place. The file replaced is kept as the
// backup (Data\GameConfig.dat.bak).
bool WriteConfigFile();

// Like WriteConfigFile, but calls `harvest` once the output file is open and before any
// byte is written, so the controls' values reach the record only when a save can happen.
// A harvest that returns false (it could not copy the controls, memory ran out) makes
// the save write nothing, keep the old file and report the save as failed, so a file
// never holds a list that lost its entries.
bool SaveConfig(bool (*harvest)());

// The file as this process last loaded, saved or restored it: the state the window's
// record started from. Not there (exists false) before the first load.
const FileStamp& ConfigFileStamp();

enum class SaveStatus {
    kSaved,
    kChanged,  // the file was not what the caller expected: nothing written, nothing shown
    kFailed,   // the save failed and said so, as SaveConfig does; the file is as it was
};

// Saves game_config to `path` as SaveConfig does, but only while the file is still
// what `expected` says (missing, when it says so). The file is read for that once more
// just before the new one takes its place, and those bytes become the backup, so the
// backup is always the file that was checked.
SaveStatus SaveConfigIfUnchanged(const char* path, const FileStamp& expected, bool (*harvest)());

enum class RestoreStatus {
    kRestored,
    kNoBackup,          // there is no backup beside the file
    kBackupUnreadable,  // it is there but cannot be read
    kBackupUnusable,    // it holds no configuration the tool reads (too short, newer)
    kFailed,            // the save failed and said so; file and backup are as they were
};

// Puts the backup of `path` back as the file, byte for byte, through the same save
// (the file it replaces becomes the new backup; a missing file leaves the backup as it
// is), and on success decodes it into `config`. Shows nothing but a failed save's
// message.
RestoreStatus RestoreConfigBackup(const char* path, GameConfig& config);

// True when `path` has a backup file beside it.
bool ConfigBackupExists(const char* path);

// Tests only: called by every save just before it reads the file for the last time and
// replaces it, which is where another program's write would otherwise be lost. Null
// for none.
void SetBeforeReplaceHook(void (*hook)());
