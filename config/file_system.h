// The few file operations whose spelling differs between Windows and other systems.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <span>
#include <string>
#include <vector>

// The configuration file the window works on: Data\GameConfig.dat, relative to the
// current directory, in the platform's spelling. qorcfg may name another.
const char* ConfigFilePath();


// A whole file in memory. The buffer is owned here and holds exactly `size` bytes.
struct FileBytes {
    std::unique_ptr<std::uint8_t[]> data;
    std::size_t size = 0;
    // The file's last-write time as the open file reported it, in the platform's unit
    // (Windows: 100 ns since 1601; elsewhere: ns since 1970); only ever compared.
    std::uint64_t write_time = 0;
    std::span<const std::uint8_t> View() const { return {data.get(), size}; }
};

enum class ReadStatus {
    kOk,
    kMissing,      // neither the file nor, perhaps, its folder exists
    kUnopenable,   // it exists but cannot be opened now: held by another program, denied
    kReadError,    // it opened, but reading it failed
    kOutOfMemory,
    kNotAFile,     // a folder, a device or a pipe stands there: never read, never waited on
};

// Why a file operation failed, or what stands at a path that is no file of ours, in
// words both front ends can give. Each failing operation below leaves its reason for
// LastFileProblem.
enum class FileProblem {
    kNone,
    kFolder,              // a folder stands at the path
    kDevice,              // a device stands there
    kPipe,                // a pipe, a FIFO or a socket stands there
    kNoFolder,            // the folder the path names does not exist
    kNoSpace,             // the disk (or the user's quota) is full
    kReadOnlyFile,        // the file is marked read-only
    kReadOnlyFileSystem,  // the file system is mounted read-only, or the medium is
    kDenied,              // permission refused
    kHeld,                // another program holds the file without sharing it
    kBusy,                // another writer holds the save's lock
    kNoMemory,            // memory ran out
    kOther,
};

// Why the existing file `path` may not be overwritten, so that a save can give up before
// it touches anything, as writing the file in place would: kReadOnlyFile (no write
// permission at all, or Windows' read-only attribute), kReadOnlyFileSystem, kDenied (this
// user may not write it). kNone when it may, or when there is no file.
FileProblem WriteProblemAt(const char* path);

// What stands at `path` when it is not something a save can read and replace: a folder,
// a device, a pipe, or no folder to hold it. kNone for a regular file, or for nothing in
// a folder that exists. Looks without opening, so a pipe with no writer never blocks.
FileProblem ProblemAt(const char* path);

// The reason the last failed file operation of this process gave (kNone after
// ClearFileProblem and until one fails).
FileProblem LastFileProblem();
void ClearFileProblem();
void NoteFileProblem(FileProblem problem);

// The file `path` stands for: a symbolic link followed to the file it names (which may
// not exist yet), so that a save replaces that file in its own folder and the link stays
// a link. Other paths come back as they are.
std::string ResolvedPath(const char* path);

// Makes the names in the folder of `path` as durable as the data flushed into the files:
// on POSIX a rename, link or unlink is kept through a power loss only once its folder is
// flushed. False when the folder could not be flushed.
bool FlushFolderOf(const char* path);

// An advisory lock of the operating system on the file `path`, created empty when
// missing (with the owner of `owner_of`, where there is one and the process may give it)
// and never removed, so that writers take turns: one byte far past any content, which no
// reader ever reads. The system releases it when its process dies, however it dies.
// Native programs and Windows programs under Wine meet on the same lock. On POSIX it is
// a lock of the open file where the kernel has those, else the classic lock of the
// process on the same byte (which Wine's locks are too). TryLockFile never waits.
using FileLock = std::intptr_t;
inline constexpr FileLock kNoLock = -1;
enum class LockResult {
    kLocked,
    kBusy,        // another handle holds it
    kImpossible,  // the file system allows no lock (a network share without a lock
                  // service), or the lock file may not be opened: LastFileProblem says
                  // which (kNone for the first, kDenied for the second)
    kFailed,      // the lock file cannot be made: LastFileProblem says why
};
LockResult TryLockFile(const char* path, FileLock& lock, const char* owner_of = nullptr);
void ReleaseLock(FileLock& lock);

// Tests only: locks refused as a file system or an old kernel refuses them.
// kOpenFileLocks: POSIX's locks of the open file are missing (kernels before 3.15);
// kEvery: no lock at all is possible. kNone for the real calls.
enum class LockRefusal { kNone, kOpenFileLocks, kEvery };
void SetLockRefusalTest(LockRefusal refusal);
LockRefusal LockRefusalTest();

// Gives the file `to` what the file `from` has of ownership, as far as this process may:
// POSIX its owner and group (as root always; otherwise the group alone, where the user
// belongs to it) and its permission bits; Windows its owner and access list (the access
// list alone when the owner may not be given). False when nothing could be copied.
bool CopyOwnership(const char* from, const char* to);

// True when `a` and `b` are two names of one file (a hard link), not two files that hold
// the same bytes.
bool SameFile(const char* a, const char* b);

// Reads the whole file with one read of the size the open file reports (more reads only
// when the file grew meanwhile). One attempt; shares the file with any other program.
ReadStatus ReadFileBytes(const char* path, FileBytes& out);

// ReadFileBytes, retried with PauseBeforeRetry between attempts, about a second in all,
// while another program holds the file so that it cannot be opened. Every read of the
// configuration file and its backup waits this long, the load and the checks alike.
ReadStatus ReadFileBytesWaiting(const char* path, FileBytes& out);

// Tests only: while set, `held` says which paths another program holds without sharing.
// Reading such a file finds it unopenable, and no file can be put in its place or
// remove it, as on Windows. Null for none.
void SetHeldFileTest(bool (*held)(const char* path));
bool HeldByTest(const char* path);

// The reading loop both platforms share, for an open file that reported `reported` bytes.
// The buffer is one byte larger than that, so one call of `read_at(offset, into, room,
// got)` both fills it and shows whether the file grew meanwhile; only then does the
// buffer double and reading go on. `read_at` reads until `room` bytes or the end and
// returns false on an error.
template <typename ReadAt>
ReadStatus ReadWholeOpenFile(std::size_t reported, ReadAt read_at, FileBytes& out) {
    std::size_t capacity = reported + 1;
    std::unique_ptr<std::uint8_t[]> buffer(new (std::nothrow) std::uint8_t[capacity]);
    std::size_t size = 0;
    for (;;) {
        if (!buffer) return ReadStatus::kOutOfMemory;
        std::size_t got = 0;
        if (!read_at(size, buffer.get() + size, capacity - size, got)) return ReadStatus::kReadError;
        size += got;
        if (size < capacity) break;
        std::unique_ptr<std::uint8_t[]> larger(new (std::nothrow) std::uint8_t[capacity * 2]);
        if (larger) std::memcpy(larger.get(), buffer.get(), size);
        buffer = std::move(larger);
        capacity *= 2;
    }
    out.data = std::move(buffer);
    out.size = size;
    return ReadStatus::kOk;
}

// The last-write time of the file `path`, in FileBytes' unit; false when it cannot be
// read (the file is not there).
bool FileWriteTime(const char* path, std::uint64_t& time);

// Gives the existing file `existing` the second name `link` (a hard link), so that it
// outlives being replaced under its first name without being copied. False where that
// is refused (a name stands at `link`, the file system has no links, as FAT and many
// network shares).
bool LinkFile(const char* existing, const char* link);

// The files in the folder `folder` ("" for the current one) whose names start with
// `prefix`: each name alone, with its last-write time in FileBytes' unit.
struct FolderEntry {
    std::string name;
    std::uint64_t write_time = 0;
};
std::vector<FolderEntry> FilesStartingWith(const std::string& folder, const std::string& prefix);


// Creates `path` as a new empty file; false when anything already stands there.
bool CreateNewFile(const char* path);

// Writes `bytes` as the whole content of the existing file `path` and pushes them to the
// disk. False on any error.
bool WriteFileBytes(const char* path, std::span<const std::uint8_t> bytes);

// Deletes the file `path`; false when it could not (or was not there).
bool RemoveFile(const char* path);

// Clears a read-only attribute of `path` (on Windows, where it stops a file from being
// replaced or removed), for a file that is the tool's own, its backup.
void ClearReadOnly(const char* path);

// Moves `source` onto `target` in one step, replacing a file that stands there.
bool RenameOver(const char* source, const char* target);

// Puts the finished file `temporary`, holding `bytes`, in the place of `target`, with
// target's attributes and ownership (CopyOwnership). Where another program holds target
// so that it cannot be replaced but can be written (open without delete sharing; Windows
// only), `bytes` are written into target instead, checked by reading them back, and the
// old content is written back if that fails part-way. While that write is under way the
// new content stays on the disk as `mark` (`temporary` renamed, the folder flushed), so
// that a crash in the middle leaves what the next save needs to write it again; `mark`
// goes once target holds the new bytes and they are flushed. Retries for about a second
// while the holder refuses both (and, once target has a second name, refuses that name's
// removal too).
//   kPlaced: target holds `bytes`; `temporary` and `mark` are gone.
//   kNotPlaced: target still has its old content, `temporary` still holds the new one.
//   kCut: the write in place failed and so did writing the old bytes back: target is a
//   mix, `mark` holds the new content for the next save to finish.
// `linked_backup`, when given, is a second name of target (LinkFile): before target is
// written in place it becomes a copy of the old content of its own (with target's
// ownership), so that the backup keeps the old bytes; when that cannot be done, target
// is not written. `mark` may be `temporary` itself (a write in place redone).
enum class Placed { kPlaced, kNotPlaced, kCut };
Placed PutFileInPlace(const char* temporary, const char* target, std::span<const std::uint8_t> bytes,
                      const char* linked_backup, const char* mark);

// Tells apart the temporary files of two processes saving into the same folder.
unsigned long CurrentProcessId();


// The wait between two attempts to open a file another program holds.
void PauseBeforeRetry();
// A shorter wait, between two attempts to take a lock.
void PauseMilliseconds(int milliseconds);

// Tests only: stopping the file operations at any step, as a crash would.
//
// Every operation above that touches a file counts as one step (a write and the flush
// that pushes it to the disk as two). SimulateCrashAfter(n, how) makes the n-th step
// from now the last: once it is done, the process is as good as dead, and every later
// operation fails without touching anything and without waiting. With a power loss,
// what the disk had not yet been told to keep is lost at that moment as well: a file
// written but not flushed goes back to what it held at its last flush (or to empty, if
// it never was), or keeps only the first half of what was written. n = 0 never stops
// and only counts. EndSimulatedCrash() brings the operations back and forgets all of it.
//
// The folder's names are modelled as well: a create, link, rename or removal that its
// folder was not flushed after (FlushFolderOf) is undone by a power loss.
enum class FileStep { kCreate, kWrite, kFlush, kRead, kLink, kRename, kRemove, kFlushFolder, kCheckWrite };
enum class CrashKind { kProcessDies, kPowerLostDropped, kPowerLostCut };
void SimulateCrashAfter(int steps, CrashKind how);
void EndSimulatedCrash();
int FileStepsTaken();

// Tests only: file operations that fail as a disk, a file system or another program
// makes them fail. `fail` is asked before each operation above (and before
// WriteProblemAt, as kCheckWrite, which is no step of a crash): a problem other than
// kNone makes that operation fail with it, without touching anything. Null for none.
using FailingFileTest = FileProblem (*)(FileStep step, const char* path);
void SetFailingFileTest(FailingFileTest fail);

namespace file_steps {
// For the platform's operations: true once a simulated crash has stopped them.
bool Stopped();
// For the platform's operations: true (with the problem noted) when a test makes the
// operation `step` on `path` fail.
bool Refused(FileStep step, const char* path);
// Reports a step done: `bytes` is what a kWrite wrote, `from` what a kRename moved or a
// kLink linked to `path`.
void Done(FileStep step, const char* path, std::span<const std::uint8_t> bytes = {}, const char* from = nullptr);
// Called before `path` is written, created, renamed, linked or removed, so that a power
// loss can give back what its name held on the disk.
void BeforeWrite(const char* path);
}  // namespace file_steps

// Tests only: a file system without hard links (FAT, exFAT, many network shares):
// LinkFile refuses, as there.
void SetNoLinksTest(bool no_links);
bool NoLinksTest();
