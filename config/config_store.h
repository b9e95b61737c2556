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

// How long a save waits for another writer's lock, in milliseconds: far longer than a
// save takes, even one that waits about a second for a held file, and short enough to
// give up in.
inline constexpr int kSaveLockWaitMs = 5000;

enum class SaveStatus {
    kBegun,        // Begin: the transaction holds the lock (or no lock is possible) and may commit
    kSaved,
    kUnchanged,    // the record encodes as the one read from the file did: nothing was
                   // written, the backup is as it was
    kNotFlushed,   // the file is in place and the backup kept, but the folder could not be
                   // flushed: a power loss may still take the save back
    kChanged,      // the file was not what the caller expected: nothing was written
    kReadOnly,     // the file may not be written (a read-only file, a read-only file
                   // system, permission refused: the problem says which): nothing touched
    kNotWritten,   // the new content could not be made or written: the file is as it was
    kNotReplaced,  // the file could not be replaced or written in place: it is as it was
    kHeld,         // another program holds the file so that it could be neither replaced
                   // nor written, even after waiting: it is as it was
    kBusy,         // another writer held the save's lock for longer than a save waits:
                   // nothing was touched
    kNotAFile,     // a folder, a device or a pipe stands at the path, or its folder is
                   // missing: nothing was touched
};

// What a save did to the backup, `path` + ".bak".
enum class BackupOutcome {
    kUntouched,  // no file was replaced (none stood there, or nothing was saved): the
                 // backup is as it was, still the file the last save replaced
    kKept,       // it is the file this save replaced
    kRemoved,    // the file replaced could not be read to be kept, so the backup, which
                 // held an older one, was removed
    kOlder,      // it could be neither refreshed nor removed (`backup_problem` says why):
                 // it still holds the file from before an earlier save
};

// The end of a save: its status, why it failed, and what became of the backup and of
// the lock.
struct SaveOutcome {
    SaveStatus status = SaveStatus::kNotWritten;
    FileProblem problem = FileProblem::kNone;  // why it failed, or why the folder could not be flushed
    BackupOutcome backup = BackupOutcome::kUntouched;
    FileProblem backup_problem = FileProblem::kNone;
    // False when the file system allows no lock (or the lock file may not be opened,
    // `lock_problem` kDenied): the save went on as it did before it took one, and another
    // writer's save at the same moment could have been lost.
    bool locked = true;
    FileProblem lock_problem = FileProblem::kNone;
    FileStamp written;  // when the file was written: the stamp of what was saved
    FileStamp found;    // kChanged: what stands there now
    // True when the new content is the file (flushed or not).
    bool Written() const { return status == SaveStatus::kSaved || status == SaveStatus::kNotFlushed; }
};

// What a save of a record needs besides the record.
struct SaveRequest {
    // The file the caller read: the save writes nothing unless it still stands there (or
    // is still missing when it was), kChanged.
    const FileStamp* expected = nullptr;
    // The bytes that file held when the record was read from it: a record that encodes as
    // the record read from them did is not written (kUnchanged), so that a save that
    // changes nothing keeps the backup and leaves an older file as it is.
    const std::vector<std::uint8_t>* read = nullptr;
    // Copies the window's controls into the record once the lock is held, before the
    // encode; false (it could not) writes nothing (kNotWritten).
    bool (*harvest)() = nullptr;
    int lock_wait_ms = kSaveLockWaitMs;
};

// One save of the configuration file, from its lock to its backup. Every writer, the
// window's Save and Restore and every changing command of qorcfg, takes the same lock
// of the operating system (on `path` + ".lock", a file no save replaces) from before it
// reads or checks the file until the backup is in place, so two writers take turns and
// neither undoes the other; readers never take it. A crash at any step leaves the old
// file or the new one, and the next transaction on the file finishes or undoes what the
// crashed one left, so the backup is always the file the last completed save replaced,
// or absent. A commit that fails undoes what it made; the destructor undoes whatever is
// still half done and releases the lock.
class SaveTransaction {
public:
    explicit SaveTransaction(const char* path);
    ~SaveTransaction();
    SaveTransaction(const SaveTransaction&) = delete;
    SaveTransaction& operator=(const SaveTransaction&) = delete;

    // Takes the lock, waiting up to `lock_wait_ms` for another writer (kBusy after it),
    // then finishes or undoes an interrupted save and removes the leftovers of ours.
    // kBegun when the transaction may go on, also where the file system allows no lock
    // (Locked() false); any other status has touched nothing of the file (kHeld: a write
    // in place that a crash cut short could not be finished, another program holds the
    // file).
    SaveStatus Begin(int lock_wait_ms = kSaveLockWaitMs);
    bool Begun() const { return begun_; }
    // True when a save of this file was cut short and left names of its own beside it.
    bool Interrupted() const;

    // Writes `bytes` as the whole file: to a temporary file beside it, flushed, which
    // takes the file's place with its ownership (or, where another program holds the file
    // so that it cannot be replaced but can be written, whose bytes are written into it);
    // the file replaced becomes `path` + ".bak" once the new one is in place, and the
    // folder is flushed once both are done, before the save reports success. `expected`,
    // when given, is the file the caller read: it is compared with the file as it stands
    // just before it is replaced (through the name that becomes the backup, so the backup
    // is always the file that was checked), and kChanged writes nothing unless it still is
    // that file (or still missing when it was). A file that cannot be read even after
    // waiting is not called changed: the save goes on without a backup of it. A backup
    // that cannot be refreshed is removed rather than left to stand for the file before
    // this save. May be called again after a failure, under the same lock; nothing of an
    // attempt's own is left beside the file.
    SaveOutcome Commit(std::vector<std::uint8_t> bytes, const FileStamp* expected = nullptr);

    // Begin (unless begun), the harvest, the encode of `config` and Commit: a save of a
    // record, for every caller.
    SaveOutcome Save(const GameConfig& config, const SaveRequest& request);

    // The file this transaction saves: the path given, a symbolic link followed.
    const char* Path() const { return path_.c_str(); }
    // Why Begin failed.
    FileProblem Problem() const { return problem_; }
    // False when the file system allowed no lock.
    bool Locked() const { return lock_ != kNoLock; }

private:
    struct Kept {
        BackupOutcome outcome;
        FileProblem problem;
    };
    bool Recover();
    bool NewContentComplete() const;
    Kept FinishKept();
    Kept KeepBackup(const std::string& kept, const FileBytes& old);
    SaveOutcome Attempt(std::vector<std::uint8_t> bytes, const FileStamp* expected);
    void Undo();
    SaveStatus Fail(SaveStatus status);

    std::string path_;
    std::string lock_path_;
    std::string new_path_;   // the new content, until it takes the file's place
    std::string kept_path_;  // the file being replaced, until it becomes the backup
    std::string mark_path_;  // the new content while it is written into the file in place
    FileLock lock_ = kNoLock;
    bool begun_ = false;
    FileProblem lock_problem_ = FileProblem::kNone;
    bool half_done_ = false;  // a commit made names of its own that it has not handed over
    FileProblem problem_ = FileProblem::kNone;
};

// A transaction that saves `config`, for callers with nothing else to do under the lock.
SaveOutcome SaveConfigFile(const char* path, const GameConfig& config, const FileStamp* expected = nullptr);

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
// decodes it into `config`; `expected` is checked as a save checks it. `outcome`, when
// given, receives the save's outcome (kRestored also where the folder could not be
// flushed: its status says so), or why its start failed.
RestoreStatus RestoreConfigFile(const char* path, GameConfig& config, const FileStamp* expected = nullptr,
                                SaveOutcome* outcome = nullptr);

// True when `path` has a backup file beside it.
bool ConfigBackupExists(const char* path);

// Tests only: called by every save just before it reads the file for the last time and
// replaces it, which is where another program's write would otherwise be lost. Null
// for none.
void SetBeforeReplaceHook(void (*hook)());
