// The text a harvest takes from an edit that shows a stored CP932 field.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

// The edit's text in CP932 when the user changed it since it was populated, else the
// stored field's bytes up to its first NUL (never past `stored_size` bytes).
//
// The edit keeps its text in UTF-16, and CP932 codes that have twins (NEC and IBM forms of
// the same character) come back from it in one form only: a text the user never touched
// must go back to the file with the bytes it came with.
std::string HarvestedEditText(HWND edit, const char* stored, std::size_t stored_size);
