// The window's load and save of Data\GameConfig.dat, relative to the current directory:
// the store's statuses turned into the tool's messages, and the file the window's record
// came from remembered.
#pragma once

#include "config/config_store.h"
#include "config/file_stamp.h"
#include "config/game_config.h"

// Fills game_config from the file, creating it with defaults when it is missing (or too
// short to hold its version), only while it still is: a file that another program made
// meanwhile is read instead. A save a crash interrupted is finished or undone first,
// when no other writer is saving. A file that exists but cannot be opened or read, even
// after about a second of waiting for a program that holds it, fails the load and is
// left as it is. False means start-up must stop; the messages have already been shown.
bool LoadConfig();

// Writes game_config to the file as the current version, in one save transaction. The
// file replaced is kept as the backup (Data\GameConfig.dat.bak). True when the file was
// written, also where its folder could not be flushed (which is said in a message of its
// own); a failure shows the save's message.
bool WriteConfigFile();

// Like WriteConfigFile, but calls `harvest` once the save holds its lock and before any
// byte is written, so the controls' values reach the record only when a save can happen.
// A harvest that returns false (it could not copy the controls, memory ran out) makes
// the save write nothing, keep the old file and report the save as failed, so a file
// never holds a list that lost its entries.
bool SaveConfig(bool (*harvest)());

// The file as this process last loaded, saved or restored it: the state the window's
// record started from. Not there (exists false) before the first load.
const FileStamp& ConfigFileStamp();

// Saves game_config to `path` as SaveConfig does, but only while the file is still what
// `expected` says (missing, when it says so): kChanged writes nothing and shows nothing,
// and `found`, when given, receives what stands there now; any other failure shows its
// message, as does kNotFlushed.
SaveStatus SaveConfigIfUnchanged(const char* path, const FileStamp& expected, bool (*harvest)(),
                                 FileStamp* found = nullptr);

// Puts the backup of `path` back as the file through the same save and, on success,
// decodes it into `config`, only while the file is still what `expected` says, as
// SaveConfigIfUnchanged. Shows nothing but a failed save's message, or that the folder
// could not be flushed.
RestoreStatus RestoreConfigBackup(const char* path, GameConfig& config, const FileStamp& expected);

// True when the last save or restore of this process that replaced a file could neither
// refresh nor remove the backup: it holds the file from before an earlier save.
bool BackupIsOlder();
