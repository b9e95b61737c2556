// Reading the text files qorcfg imports: a whole file, read as the store reads one (in
// one call into a buffer of its size), or the whole of standard input.
#pragma once

#include "config/file_system.h"

enum class FileReadStatus { kOk, kMissing, kCannotRead, kOutOfMemory };

// The whole file at `path`. `error_number` receives errno where the platform sets it
// (0 otherwise) for kMissing and kCannotRead.
FileReadStatus ReadInputFile(const char* path, FileBytes& bytes, int& error_number);

// The whole of standard input.
FileReadStatus ReadStandardInput(FileBytes& bytes, int& error_number);
