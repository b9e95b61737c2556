// The text a harvest takes from an edit that shows a stored CP932 field.
#pragma once

#include <windows.h>

#include <cstddef>

// Copies into `out` (capacity `out_size`, at least 1; always NUL-terminated) the edit's
// text when the user changed it since it was populated, else the stored field's text up
// to its first NUL (never past `stored_size` bytes). Returns the length copied.
//
// The edit keeps its text in UTF-16, and CP932 codes that have twins (NEC and IBM forms of
// the same character) come back from it in one form only: a text the user never touched
// must go back to the file with the bytes it came with.
std::size_t HarvestedEditText(HWND edit, const char* stored, std::size_t stored_size, char* out,
                              std::size_t out_size);
