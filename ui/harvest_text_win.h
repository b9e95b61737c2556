// A stored CP932 field in an edit: shown, and taken back at a harvest.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

// Shows a stored CP932 field in `edit`: its text up to the first NUL (in a single-line
// edit, up to its first line break), never read past `stored_size` bytes, without an incomplete last character (only a damaged field ends in
// a lead byte), in the form the edit keeps (see LimitEditBytes).
void ShowStoredText(HWND edit, const char* stored, std::size_t stored_size);

// What a field of at most `limit` bytes stores at a harvest. When the edit holds the very
// text ShowStoredText gives it for the stored field (it was populated with it, or the last
// save stored what it shows): the stored field's bytes up to its first NUL (in a
// single-line edit, up to its first line break; never past `stored_size` bytes) exactly
// as they are, cut at a character boundary only when a
// damaged field holds more than the limit. Any other text, however it got into the edit
// (typed, pasted, set by another program): its stored form (StoredCp932), cut to the
// limit at a character boundary.
//
// The edit keeps its text in UTF-16, and CP932 codes that have twins (NEC and IBM forms of
// the same character) come back from it in one form only; a damaged field's stray lead
// byte does not come back at all. A text nobody changed must go back to the file with
// the bytes it came with.
std::string HarvestedEditText(HWND edit, const char* stored, std::size_t stored_size, std::size_t limit);
