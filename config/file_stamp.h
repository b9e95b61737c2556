// What tells one state of the configuration file from another, so that a save can see
// that another program wrote the file since it was read. Portable; shows nothing.
#pragma once

#include <cstdint>
#include <span>

#include "config/file_system.h"

// A file as it was read or written: whether it existed, its size, its last-write time
// and a hash of its bytes.
struct FileStamp {
    bool exists = false;
    std::uint64_t size = 0;
    std::uint64_t write_time = 0;
    std::uint64_t hash = 0;
};

// A 64-bit FNV-1a hash of the bytes: enough to tell two writes apart, not a defence
// against someone forging a file.
std::uint64_t ContentHash(std::span<const std::uint8_t> bytes);

FileStamp StampOf(std::span<const std::uint8_t> bytes, std::uint64_t write_time);
inline FileStamp StampOf(const FileBytes& file) { return StampOf(file.View(), file.write_time); }

// True when the two stamps stand for the same content: both files missing, or both
// there with the same size and hash. A write time that differs alone (a program that
// wrote back the very same bytes) is no change: overwriting such a file loses nothing.
bool SameContent(const FileStamp& a, const FileStamp& b);

enum class FileCheck {
    kUnchanged,   // the file holds what the stamp says
    kChanged,     // it holds other bytes, or it appeared where none was
    kGone,        // it was there and is no longer
    kUnreadable,  // it is there but cannot be read even after waiting: held, not changed
};

// Reads the file at `path`, waiting as the load does for a program that holds it, and
// compares it with `expected`; `found` receives the stamp
// of what is there now (exists false when it is missing or unreadable).
FileCheck CheckFile(const char* path, const FileStamp& expected, FileStamp& found);
