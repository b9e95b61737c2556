// File operations on Windows.
#include "config/file_system.h"

#include <windows.h>

#include <cstring>
#include <new>
#include <string>
#include <vector>

const char* ConfigFilePath() { return "Data\\GameConfig.dat"; }

namespace {

// Our paths are CP932 like every text of the tool, whatever the system's code page.
std::wstring WidePath(const char* path) {
    int units = MultiByteToWideChar(932, 0, path, -1, nullptr, 0);
    if (units <= 0) return std::wstring();
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(932, 0, path, -1, wide.data(), units);
    wide.resize(static_cast<std::size_t>(units - 1));
    return wide;
}

// The errors by which Windows (sharing, lock) and Wine (access denied) say that another
// program holds the file in a way that forbids what we asked for.
bool HeldByAnotherProgram(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}

// Notes why an operation failed (the last error); returns false for the caller to pass on.
bool Failed() {
    switch (GetLastError()) {
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL: NoteFileProblem(FileProblem::kNoSpace); break;
        case ERROR_WRITE_PROTECT: NoteFileProblem(FileProblem::kReadOnlyFileSystem); break;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION: NoteFileProblem(FileProblem::kHeld); break;
        case ERROR_ACCESS_DENIED: NoteFileProblem(FileProblem::kDenied); break;
        case ERROR_PATH_NOT_FOUND: NoteFileProblem(FileProblem::kNoFolder); break;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY: NoteFileProblem(FileProblem::kNoMemory); break;
        default: NoteFileProblem(FileProblem::kOther); break;
    }
    return false;
}

std::wstring FolderOf(const std::wstring& path) {
    const std::size_t cut = path.find_last_of(L"\\/");
    return cut == std::wstring::npos ? std::wstring(L".") : path.substr(0, cut == 0 ? 1 : cut);
}

bool ReadAt(HANDLE file, LONGLONG offset, std::uint8_t* into, std::size_t size, std::size_t& got) {
    got = 0;
    LARGE_INTEGER position;
    position.QuadPart = offset;
    if (!SetFilePointerEx(file, position, nullptr, FILE_BEGIN)) return false;
    while (got < size) {
        DWORD chunk = size - got > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size - got);
        DWORD read = 0;
        if (!ReadFile(file, into + got, chunk, &read, nullptr)) return false;
        if (read == 0) break;
        got += read;
    }
    return true;
}

// Reads the whole of an open file, from its start whatever was done with it before.
ReadStatus ReadWhole(HANDLE file, FileBytes& out) {
    LARGE_INTEGER reported;
    if (!GetFileSizeEx(file, &reported) || reported.QuadPart < 0) return ReadStatus::kReadError;
    return ReadWholeOpenFile(
        static_cast<std::size_t>(reported.QuadPart),
        [file](std::size_t offset, std::uint8_t* into, std::size_t room, std::size_t& got) {
            return ReadAt(file, static_cast<LONGLONG>(offset), into, room, got);
        },
        out);
}

// Writes and flushes, reporting both as steps of `path`.
bool WriteAll(HANDLE file, std::span<const std::uint8_t> bytes, const char* path) {
    if (file_steps::Stopped()) return false;
    LARGE_INTEGER start = {};
    if (!SetFilePointerEx(file, start, nullptr, FILE_BEGIN)) return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
        std::size_t left = bytes.size() - done;
        DWORD chunk = left > 0x40000000 ? 0x40000000 : static_cast<DWORD>(left);
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
        done += written;
    }
    if (!SetEndOfFile(file)) return false;
    file_steps::Done(FileStep::kWrite, path, bytes);
    if (file_steps::Stopped() || !FlushFileBuffers(file)) return false;
    file_steps::Done(FileStep::kFlush, path);
    return true;
}

bool HoldsExactly(HANDLE file, std::span<const std::uint8_t> bytes) {
    FileBytes back;
    return ReadWhole(file, back) == ReadStatus::kOk && back.size == bytes.size() &&
           (bytes.empty() || std::memcmp(back.data.get(), bytes.data(), bytes.size()) == 0);
}

enum class InPlace { kWritten, kHeld, kFailed, kCut };

// A second name of a file that is about to be written in place would see the new bytes
// too: it becomes a file of its own holding `old`, with the ownership of `target`, the
// file it was a name of. Sharing is per file, not per name, so the holder that keeps the
// file from being replaced may keep this name from going too: that is waited for as the
// file is (kHeld).
InPlace UnlinkIntoCopy(const char* link, std::span<const std::uint8_t> old, const char* target) {
    const std::wstring name = WidePath(link);
    file_steps::BeforeWrite(link);
    if (!DeleteFileW(name.c_str())) return HeldByAnotherProgram(GetLastError()) ? InPlace::kHeld : InPlace::kFailed;
    file_steps::Done(FileStep::kRemove, link);
    HANDLE copy = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (copy == INVALID_HANDLE_VALUE) return InPlace::kFailed;
    file_steps::Done(FileStep::kCreate, link);
    const bool ok = WriteAll(copy, old, link);
    CloseHandle(copy);
    if (!ok && !file_steps::Stopped()) DeleteFileW(name.c_str());
    if (ok) CopyOwnership(target, link);
    return ok ? InPlace::kWritten : InPlace::kFailed;
}

// Writes `bytes` into the existing file, sharing it with whoever holds it, and checks them
// by reading them back. When that fails after the first byte went out, the old content
// is written back, so the file ends with either the new bytes or the old ones (kCut when
// even that fails). Until the new bytes are in and flushed, they stay on the disk under
// the name `mark`: a crash in the middle leaves them for the next save to write again.
InPlace WriteInPlace(const char* temporary, const char* target_path, std::span<const std::uint8_t> bytes,
                     const char* linked_backup, const char* mark) {
    if (file_steps::Stopped()) return InPlace::kFailed;
    if (file_steps::Refused(FileStep::kWrite, target_path))
        return LastFileProblem() == FileProblem::kHeld ? InPlace::kHeld : InPlace::kFailed;
    const std::wstring target = WidePath(target_path);
    HANDLE file = CreateFileW(target.c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return HeldByAnotherProgram(GetLastError()) ? InPlace::kHeld : InPlace::kFailed;
    FileBytes old;
    InPlace result = InPlace::kFailed;
    const bool renamed = std::strcmp(temporary, mark) != 0;
    file_steps::BeforeWrite(target_path);
    if (ReadWhole(file, old) == ReadStatus::kOk) {
        result = linked_backup == nullptr ? InPlace::kWritten : UnlinkIntoCopy(linked_backup, old.View(), target_path);
        if (result == InPlace::kWritten && renamed && !RenameOver(temporary, mark)) result = InPlace::kFailed;
        // The mark's name is on the disk before the first byte goes into the file.
        if (result == InPlace::kWritten && !FlushFolderOf(mark)) {
            if (renamed) RenameOver(mark, temporary);
            result = InPlace::kFailed;
        }
        if (result == InPlace::kWritten) {
            if (WriteAll(file, bytes, target_path) && HoldsExactly(file, bytes)) {
                RemoveFile(mark);
            } else if (WriteAll(file, old.View(), target_path)) {
                if (renamed) RenameOver(mark, temporary);
                result = InPlace::kFailed;
            } else {
                result = InPlace::kCut;
            }
        }
    }
    CloseHandle(file);
    return result;
}

std::uint64_t FileTimeValue(const FILETIME& time) {
    return static_cast<std::uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}

// The attributes a file can be given, less read-only (a read-only file is never replaced).
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

}  // namespace

FileProblem ProblemAt(const char* path) {
    const std::wstring wide = WidePath(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) return FileProblem::kFolder;
        // A device (NUL, COM1, a pipe's name) answers like a file: ask what it is.
        HANDLE handle = CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) return FileProblem::kNone;
        const DWORD type = GetFileType(handle);
        CloseHandle(handle);
        if (type == FILE_TYPE_CHAR) return FileProblem::kDevice;
        if (type == FILE_TYPE_PIPE) return FileProblem::kPipe;
        return FileProblem::kNone;
    }
    if (GetLastError() == ERROR_PATH_NOT_FOUND) return FileProblem::kNoFolder;
    const DWORD folder = GetFileAttributesW(FolderOf(wide).c_str());
    return folder != INVALID_FILE_ATTRIBUTES && (folder & FILE_ATTRIBUTE_DIRECTORY) ? FileProblem::kNone
                                                                                 : FileProblem::kNoFolder;
}

// Windows programs meet links rarely in a game folder, and a save through MoveFileEx
// replaces the name it is given; the path is used as it is.
std::string ResolvedPath(const char* path) { return path; }

// Renames are written through; a flush of the folder's handle pushes the names of a
// create or removal too, where the file system allows it (it may refuse: that is no failure).
bool FlushFolderOf(const char* path) {
    if (file_steps::Stopped() || file_steps::Refused(FileStep::kFlushFolder, path)) return false;
    HANDLE folder = CreateFileW(FolderOf(WidePath(path)).c_str(), GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder != INVALID_HANDLE_VALUE) {
        FlushFileBuffers(folder);
        CloseHandle(folder);
    }
    file_steps::Done(FileStep::kFlushFolder, path);
    return true;
}

namespace {

// The byte POSIX programs lock too (Wine carries this lock onto the file as theirs), past
// any content, so that no reader ever meets the mandatory lock.
constexpr DWORD kLockOffset = 0x7ffffff0;

LockRefusal lock_refusal = LockRefusal::kNone;

}  // namespace

// The lock file takes the folder's inherited access list, which lets the file's own user
// in as it lets them in to the file: `owner_of` is not needed here.
LockResult TryLockFile(const char* path, FileLock& lock, const char*) {
    lock = kNoLock;
    HANDLE file = CreateFileW(WidePath(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        Failed();
        // A lock file another user made and this one may not write keeps no save from
        // happening that happened before there was a lock.
        return error == ERROR_ACCESS_DENIED ? LockResult::kImpossible : LockResult::kFailed;
    }
    OVERLAPPED at = {};
    at.Offset = kLockOffset;
    DWORD error = ERROR_NOT_SUPPORTED;  // as a share without byte-range locks answers
    if (lock_refusal != LockRefusal::kEvery &&
        LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
        lock = reinterpret_cast<FileLock>(file);
        return LockResult::kLocked;
    }
    if (lock_refusal != LockRefusal::kEvery) error = GetLastError();
    CloseHandle(file);
    if (error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING) {
        NoteFileProblem(FileProblem::kBusy);
        return LockResult::kBusy;
    }
    // Any other refusal comes from a file system that keeps no locks (some network
    // shares): the save goes on as it did before it took one.
    NoteFileProblem(FileProblem::kNone);
    return LockResult::kImpossible;
}

void SetLockRefusalTest(LockRefusal refusal) { lock_refusal = refusal; }
LockRefusal LockRefusalTest() { return lock_refusal; }

void ReleaseLock(FileLock& lock) {
    if (lock != kNoLock) CloseHandle(reinterpret_cast<HANDLE>(lock));
    lock = kNoLock;
}

bool SameFile(const char* a, const char* b) {
    BY_HANDLE_FILE_INFORMATION info[2] = {};
    const char* paths[2] = {a, b};
    for (int i = 0; i < 2; ++i) {
        HANDLE file = CreateFileW(WidePath(paths[i]).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        const BOOL got = GetFileInformationByHandle(file, &info[i]);
        CloseHandle(file);
        if (!got) return false;
    }
    return info[0].dwVolumeSerialNumber == info[1].dwVolumeSerialNumber &&
           info[0].nFileIndexHigh == info[1].nFileIndexHigh && info[0].nFileIndexLow == info[1].nFileIndexLow;
}

// A read-only medium or share is named by the first write that meets it.
FileProblem WriteProblemAt(const char* path) {
    if (file_steps::Stopped()) return FileProblem::kOther;
    if (file_steps::Refused(FileStep::kCheckWrite, path)) return LastFileProblem();
    DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0
               ? FileProblem::kReadOnlyFile
               : FileProblem::kNone;
}

bool CopyOwnership(const char* from, const char* to) {
    if (file_steps::Stopped()) return false;
    const std::wstring source = WidePath(from);
    const std::wstring target = WidePath(to);
    constexpr SECURITY_INFORMATION kWhole =
        OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    DWORD needed = 0;
    GetFileSecurityW(source.c_str(), kWhole, nullptr, 0, &needed);
    if (needed == 0) return false;
    std::vector<std::uint8_t> descriptor(needed);
    if (!GetFileSecurityW(source.c_str(), kWhole, descriptor.data(), needed, &needed)) return false;
    // Only an administrator may give a file another owner; the access list alone still
    // decides who may read and write it.
    return SetFileSecurityW(target.c_str(), kWhole, descriptor.data()) ||
           SetFileSecurityW(target.c_str(), DACL_SECURITY_INFORMATION, descriptor.data());
}

ReadStatus ReadFileBytes(const char* path, FileBytes& out) {
    if (file_steps::Stopped()) return ReadStatus::kReadError;
    if (file_steps::Refused(FileStep::kRead, path))
        return LastFileProblem() == FileProblem::kHeld ? ReadStatus::kUnopenable : ReadStatus::kReadError;
    HANDLE file = CreateFileW(WidePath(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        Failed();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ReadStatus::kMissing
                                                                              : ReadStatus::kUnopenable;
    }
    if (GetFileType(file) != FILE_TYPE_DISK) {
        NoteFileProblem(GetFileType(file) == FILE_TYPE_PIPE ? FileProblem::kPipe : FileProblem::kDevice);
        CloseHandle(file);
        return ReadStatus::kNotAFile;
    }
    ReadStatus status = ReadWhole(file, out);
    FILETIME written = {};
    if (GetFileTime(file, nullptr, nullptr, &written)) out.write_time = FileTimeValue(written);
    CloseHandle(file);
    file_steps::Done(FileStep::kRead, path);
    return status;
}

bool FileWriteTime(const char* path, std::uint64_t& time) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (file_steps::Stopped() || !GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &data)) return false;
    time = FileTimeValue(data.ftLastWriteTime);
    return true;
}

bool CreateNewFile(const char* path) {
    if (file_steps::Stopped() || file_steps::Refused(FileStep::kCreate, path)) return false;
    file_steps::BeforeWrite(path);
    HANDLE file = CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return Failed();
    CloseHandle(file);
    file_steps::Done(FileStep::kCreate, path);
    return true;
}

bool WriteFileBytes(const char* path, std::span<const std::uint8_t> bytes) {
    if (file_steps::Stopped() || file_steps::Refused(FileStep::kWrite, path)) return false;
    file_steps::BeforeWrite(path);
    HANDLE file = CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return Failed();
    bool ok = WriteAll(file, bytes, path) || Failed();
    return CloseHandle(file) && ok;
}

bool RemoveFile(const char* path) {
    if (file_steps::Stopped() || file_steps::Refused(FileStep::kRemove, path)) return false;
    file_steps::BeforeWrite(path);
    if (!DeleteFileW(WidePath(path).c_str())) return Failed();
    file_steps::Done(FileStep::kRemove, path);
    return true;
}

void ClearReadOnly(const char* path) {
    if (file_steps::Stopped()) return;
    const std::wstring wide = WidePath(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
        SetFileAttributesW(wide.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
}

bool RenameOver(const char* source, const char* target) {
    if (file_steps::Stopped() || file_steps::Refused(FileStep::kRename, target)) return false;
    file_steps::BeforeWrite(source);
    file_steps::BeforeWrite(target);
    if (!MoveFileExW(WidePath(source).c_str(), WidePath(target).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return Failed();
    file_steps::Done(FileStep::kRename, target, {}, source);
    return true;
}

// A file another program holds so that it cannot be replaced is written in place, which
// a second name would see too: such a file gets no link (the backup is then a copy).
bool LinkFile(const char* existing, const char* link) {
    if (file_steps::Stopped() || NoLinksTest() || file_steps::Refused(FileStep::kLink, link)) return false;
    file_steps::BeforeWrite(existing);
    file_steps::BeforeWrite(link);
    const std::wstring name = WidePath(existing);
    HANDLE probe = CreateFileW(name.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe == INVALID_HANDLE_VALUE) return false;
    CloseHandle(probe);
    if (!CreateHardLinkW(WidePath(link).c_str(), name.c_str(), nullptr)) return false;
    file_steps::Done(FileStep::kLink, link, {}, existing);
    return true;
}

std::vector<FolderEntry> FilesStartingWith(const std::string& folder, const std::string& prefix) {
    std::vector<FolderEntry> found;
    if (file_steps::Stopped()) return found;
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW(WidePath((folder.empty() ? prefix : folder + "\\" + prefix).c_str()).append(L"*").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return found;
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        int bytes = WideCharToMultiByte(932, 0, data.cFileName, -1, nullptr, 0, nullptr, nullptr);
        if (bytes <= 1) continue;
        std::string name(static_cast<std::size_t>(bytes), '\0');
        WideCharToMultiByte(932, 0, data.cFileName, -1, name.data(), bytes, nullptr, nullptr);
        name.resize(static_cast<std::size_t>(bytes - 1));
        // The pattern also finds short 8.3 names; only a long name that starts so counts.
        if (name.compare(0, prefix.size(), prefix) == 0) found.push_back({name, FileTimeValue(data.ftLastWriteTime)});
    } while (FindNextFileW(search, &data));
    FindClose(search);
    return found;
}


Placed PutFileInPlace(const char* temporary, const char* target, std::span<const std::uint8_t> bytes,
                      const char* linked_backup, const char* mark) {
    if (file_steps::Stopped()) return Placed::kNotPlaced;
    const std::wstring from = WidePath(temporary);
    const std::wstring to = WidePath(target);
    DWORD attributes = GetFileAttributesW(to.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        if ((attributes & kKeptAttributes) != 0) SetFileAttributesW(from.c_str(), attributes & kKeptAttributes);
        // A renamed file keeps its own security descriptor, so the new one takes the old
        // one's before the rename, which stays one step.
        CopyOwnership(target, temporary);
    }
    // A virus scanner or the game itself may hold the file for a moment: try for about a
    // second before giving up.
    constexpr int kTries = 10;
    file_steps::BeforeWrite(temporary);
    file_steps::BeforeWrite(target);
    for (int attempt = 0; attempt < kTries; ++attempt) {
        if (attempt > 0) PauseBeforeRetry();
        const bool refused = file_steps::Refused(FileStep::kRename, target);
        if (!refused && MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            file_steps::Done(FileStep::kRename, target, {}, temporary);
            return Placed::kPlaced;
        }
        const bool held = refused ? LastFileProblem() == FileProblem::kHeld : HeldByAnotherProgram(GetLastError());
        if (!held) return refused ? Placed::kNotPlaced : (Failed(), Placed::kNotPlaced);
        if (file_steps::Stopped()) return Placed::kNotPlaced;
        // A backup that is still a second name of the file was made while every holder
        // shared deletion, as a reader does (a load of this tool, say), and a reader is
        // gone in a moment. Writing in place would first turn that name into a
        // copy, which Wine (and Windows without POSIX deletes) cannot do while anyone has
        // the file open: a deleted name of an open file stays until its last handle closes.
        // So the rename is tried for the whole wait, and only its last refusal writes in place.
        if (linked_backup != nullptr && attempt + 1 < kTries) continue;
        switch (WriteInPlace(temporary, target, bytes, linked_backup, mark)) {
            case InPlace::kWritten: return Placed::kPlaced;
            case InPlace::kFailed: return Failed(), Placed::kNotPlaced;
            case InPlace::kCut: return Failed(), Placed::kCut;
            case InPlace::kHeld: break;
        }
    }
    NoteFileProblem(FileProblem::kHeld);
    return Placed::kNotPlaced;
}

unsigned long CurrentProcessId() { return GetCurrentProcessId(); }


void PauseBeforeRetry() {
    if (!file_steps::Stopped()) Sleep(100);
}

void PauseMilliseconds(int milliseconds) {
    if (!file_steps::Stopped()) Sleep(static_cast<DWORD>(milliseconds));
}
