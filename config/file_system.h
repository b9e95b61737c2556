// The few file operations whose spelling differs between Windows and other systems.
#pragma once

#include <cstdio>

// Data\GameConfig.dat, relative to the current directory.
const char* ConfigFilePath();

// Where a save writes before it replaces the file, in the same folder.
const char* ConfigTempPath();

// False when `path` exists but may not be overwritten (a read-only file), so a save
// can give up before it touches anything, as writing the file in place would.
bool FileMayBeReplaced(const char* path);

// Pushes everything written to `file` to the disk. False on any error.
bool CommitFile(std::FILE* file);

// Replaces `target` with `source` in one step, so a reader sees either the old file or
// the new one. Retries briefly while another process holds the target open.
bool ReplaceFileAtomically(const char* source, const char* target);
