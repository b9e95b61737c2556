// The few file operations whose spelling differs between Windows and other systems.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <span>

// The configuration file the window works on: Data\GameConfig.dat, relative to the
// current directory, in the platform's spelling. qorcfg may name another.
const char* ConfigFilePath();

// False when `path` exists but may not be overwritten (a read-only file), so a save
// can give up before it touches anything, as writing the file in place would.
bool FileMayBeReplaced(const char* path);

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
};

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
// target's attributes. Where another program holds target so that it cannot be replaced
// but can be written (open without delete sharing), `bytes` are written into target
// instead, checked by reading them back, and the old content is written back if that
// fails part-way. Retries for about a second while the holder refuses both. False when
// target still has its old content; `temporary` is then left for the caller to remove.
bool PutFileInPlace(const char* temporary, const char* target, std::span<const std::uint8_t> bytes);

// Tells apart the temporary files of two processes saving into the same folder.
unsigned long CurrentProcessId();

// The wait between two attempts to open a file another program holds.
void PauseBeforeRetry();
