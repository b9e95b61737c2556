// The configuration store: a configuration file at a path read into a record and a record
// written to it, with no message and no global state. Each outcome is a status; the
// window and qorcfg each turn it into their own words.
#pragma once

#include <cstdint>
#include <string>
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
    kNotAFile,     // a folder, a device or a pipe stands at the path: never read, never waited on
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
    kBusy,         // another writer held the save's lock for longer than a save waits:
                   // nothing was touched
    kNotAFile,     // a folder, a device or a pipe stands at the path, or its folder is
                   // missing: nothing was touched
};

// One save of the configuration file, from its lock to its backup. Every writer, the
// window's Save and Restore and every changing command of qorcfg, takes the same lock
// of the operating system (on `path` + ".lock", a file no save replaces) from before it
// reads or checks the file until the backup is in place, so two writers take turns and
// neither undoes the other; readers never take it. A crash at any step leaves the old
// file or the new one, and the next transaction on the file finishes or undoes what the
// crashed one left, so the backup is always the file the last completed save replaced,
// or absent. The destructor undoes whatever an attempt left half done and releases the
// lock.
class SaveTransaction {
public:
    explicit SaveTransaction(const char* path);
    ~SaveTransaction();
    SaveTransaction(const SaveTransaction&) = delete;
    SaveTransaction& operator=(const SaveTransaction&) = delete;

    // Takes the lock, waiting a bounded time for another writer (kBusy after it), then
    // finishes or undoes an interrupted save and removes the leftovers of ours. kSaved
    // when the transaction may go on; any other status has touched nothing.
    SaveStatus Begin();

    // Writes `bytes` as the whole file: to a temporary file beside it, flushed, which
    // takes the file's place (or, where another program holds the file so that it cannot
    // be replaced but can be written, whose bytes are written into it); the file replaced
    // becomes `path` + ".bak" once the new one is in place, and the folder is flushed
    // once both are done, before the save reports success. `expected`, when given, is the file the caller read: it
    // is compared with the file as it stands just before it is replaced (through the
    // name that becomes the backup, so the backup is always the file that was checked),
    // and kChanged writes nothing unless it still is that file (or still missing when it
    // was); `found` then receives what stands there now. A file that cannot be read even
    // after waiting is not called changed: the save goes on without a backup of it. A
    // backup that cannot be refreshed is removed rather than left to stand for the file
    // before this save (see ConfigBackupIsOlder for where even that fails). `written`
    // receives the stamp of the file saved. May be called again after a failure, under
    // the same lock; nothing of an attempt's own is left beside the file.
    SaveStatus Commit(std::vector<std::uint8_t> bytes, const FileStamp* expected = nullptr,
                      FileStamp* written = nullptr, FileStamp* found = nullptr);

    // The file this transaction saves: the path given, a symbolic link followed.
    const char* Path() const { return path_.c_str(); }
    // Why the last step failed, in words both front ends can give.
    FileProblem Problem() const { return problem_; }

private:
    void Recover();
    void KeepBackup(const std::string& kept, const FileBytes& old);
    SaveStatus Fail(SaveStatus status);

    std::string path_;
    std::string lock_path_;
    std::string new_path_;   // the new content, until it takes the file's place
    std::string kept_path_;  // the file being replaced, until it becomes the backup
    FileLock lock_ = kNoLock;
    FileProblem problem_ = FileProblem::kNone;
};

// Tests only: how long Begin waits for the lock, in milliseconds (about five seconds
// unless set).
void SetSaveLockWait(int milliseconds);

// A transaction that encodes `config` and commits it, for callers with nothing else to
// do under the lock. `problem`, when given, receives why it failed.
SaveStatus SaveConfigFile(const char* path, const GameConfig& config, const FileStamp* expected = nullptr,
                          FileStamp* written = nullptr, FileProblem* problem = nullptr);

// Finishes or undoes a save a crash interrupted, when no writer holds the lock now (a
// start-up never waits for one). Nothing else is touched.
void FinishInterruptedSave(const char* path);

enum class RestoreStatus {
    kRestored,
    kNoBackup,          // there is no backup beside the file
    kBackupUnreadable,  // it is there but cannot be read
    kBackupUnusable,    // it holds no configuration the tool reads as it stands (too
                        // short to hold its version or its layout, newer)
    kFailed,            // the save failed: file and backup are as they were
    kChanged,           // the file was not what the caller expected: nothing was written
    kBusy,              // another writer held the lock: nothing was touched
};

// Puts the backup of `path` back as the file, byte for byte, in one transaction (the
// file it replaces becomes the new backup; a missing file leaves none), and on success
// decodes it into `config`; `expected` is checked as a save checks it; `written`
// receives the stamp of the file restored, `problem` why it failed.
RestoreStatus RestoreConfigFile(const char* path, GameConfig& config, const FileStamp* expected = nullptr,
                                FileStamp* written = nullptr, FileProblem* problem = nullptr);

// True when `path` has a backup file beside it.
bool ConfigBackupExists(const char* path);

// True when a save or restore in this process succeeded but could neither refresh nor
// remove the backup of `path`: it still holds the file from before an earlier save.
// False again once a save refreshes it. ConfigBackupProblem says why (another program
// held it, a folder stands there).
bool ConfigBackupIsOlder(const char* path);
FileProblem ConfigBackupProblem(const char* path);

// Tests only: called by every save just before it reads the file for the last time and
// replaces it, which is where another program's write would otherwise be lost. Null
// for none.
void SetBeforeReplaceHook(void (*hook)());
