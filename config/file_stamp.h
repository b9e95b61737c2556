// What tells one state of the configuration file from another, so that a save can see
// that another program wrote the file since it was read. Portable; shows nothing.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "config/file_system.h"

// A file as it was read or written: whether it existed, its size, its last-write time
// and its bytes themselves. Keeping the bytes costs nothing at load (the buffer read is
// kept, not copied) and lets a later check compare exactly, at the speed of memory.
// Copies of a stamp share the bytes.
struct FileStamp {
    bool exists = false;
    std::uint64_t size = 0;
    std::uint64_t write_time = 0;
    std::shared_ptr<const std::uint8_t> content;  // `size` bytes; none when not there
    std::span<const std::uint8_t> Bytes() const { return {content.get(), content ? size : 0}; }
};

// The stamp of a file read: it takes over the buffer.
FileStamp StampOf(FileBytes&& file);
// The stamp of bytes written: it takes them over.
FileStamp StampOf(std::vector<std::uint8_t>&& bytes, std::uint64_t write_time);

// True when the two stamps stand for the same content: both files missing, or both
// there with the same bytes. A write time that differs alone (a program that wrote back
// the very same bytes) is no change: overwriting such a file loses nothing.
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
