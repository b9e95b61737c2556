// Text between the configuration file's CP932 and the terminal. Everything qorcfg
// prints is built as UTF-8 and converted once, where it leaves the program.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

// True when every byte is below 0x80: such text reads the same in CP932, UTF-8 and any
// system code page, and needs no conversion.
bool IsAscii(std::string_view text);

// The length of the UTF-8 sequence that starts `text` (1 to 4), or 0 when none does: a
// byte that starts no sequence, one cut short, an overlong form, a surrogate, or a code
// point past U+10FFFF.
std::size_t Utf8SequenceAt(std::string_view text);

// Where `text` stops being UTF-8: the first byte of the first sequence that is none, or
// the size when all of it is UTF-8.
std::size_t Utf8MistakeAt(std::string_view text);

// CP932 bytes as UTF-8. A byte that starts no valid CP932 character becomes U+FFFD, so
// a damaged text still prints and never yields invalid UTF-8.
std::string Cp932ToUtf8(std::string_view cp932);

// UTF-8 as CP932, stored as the window stores entered text (a wave dash U+301C as
// 81 60, an e acute as e). False when the text is not valid UTF-8 or holds a character
// with no CP932 form at all.
bool Utf8ToCp932(std::string_view utf8, std::string& cp932);

// UTF-16 as UTF-8, and strict UTF-8 as UTF-16 (false on a byte sequence that is not
// UTF-8): the platform's own conversions.
std::string Utf8FromWide(std::wstring_view wide);
bool WideFromUtf8(std::string_view utf8, std::wstring& wide);

// Writes UTF-8 text to `stream` in the terminal's encoding: unchanged where the
// terminal speaks UTF-8; on Windows, as UTF-16 to a console, or in the console's output
// code page when redirected. `always_utf8` keeps the bytes UTF-8 whenever the stream
// is not a console (JSON, whose encoding is fixed). False on a write error.
bool WriteTerminalText(std::FILE* stream, std::string_view utf8, bool always_utf8 = false);

#ifdef _WIN32
// UTF-8 text as WriteTerminalText writes it to a stream that is no console: in the
// console's output code page (0 or UTF-8: unchanged), or, where that code page cannot
// hold every character of it, unchanged UTF-8.
std::string RedirectedText(std::string_view utf8, unsigned code_page);
#endif

// Command-line argument `index` as UTF-8 text (Windows hands narrow arguments over in
// the system code page; the wide command line holds what the user typed).
std::string ArgumentText(char** argv, int index);

// Command-line argument `index` as a path in the form qorcfg and the store open files
// with: the bytes given, on POSIX; on Windows the argument as typed (from the wide command
// line) in CP932, the code page the store names paths in whatever the system's code page
// is. False when a character of it has no CP932 form.
bool PathArgument(char** argv, int index, std::string& path);

// A path in that form as UTF-8, for messages.
std::string PathText(const std::string& path);

// Opens a path in that form for writing, as fopen(path, "wb") does.
std::FILE* OpenPathForWriting(const std::string& path);
