// The text a harvest takes from an edit that shows a stored CP932 field.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

// What a field of at most `limit` bytes stores at a harvest. When the user changed the
// edit since it was populated: its text in CP932, cut to the limit at a character
// boundary. Otherwise: the stored field's bytes up to its first NUL (never past
// `stored_size` bytes) exactly as they are, cut the same way only when a damaged field
// holds more than the limit.
//
// The edit keeps its text in UTF-16, and CP932 codes that have twins (NEC and IBM forms of
// the same character) come back from it in one form only; a damaged field's stray lead
// byte does not come back at all. A text the user never touched must go back to the file
// with the bytes it came with.
std::string HarvestedEditText(HWND edit, const char* stored, std::size_t stored_size, std::size_t limit);
