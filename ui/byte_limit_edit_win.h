// Keeps an edit control's text within a number of CP932 bytes and within what CP932 can
// hold.
#pragma once

#include <windows.h>

#include <cstddef>

// Subclasses `edit` so that typing, pasting and EM_REPLACESEL never take its text beyond
// `limit` bytes of CP932, the file's code page, whatever the system's code page is: a
// typed character that does not fit is refused, pasted or replacing text is cut at a
// character boundary to the room left. A character CP932 cannot hold (é, an emoji) is
// refused the same way: a typed one does not go in, pasted text stops before it. Text
// set with WM_SETTEXT is not limited. Calling it again for the same edit only changes
// the limit; the subclass removes itself when the edit is destroyed.
//
// Needed because an edit's own limit (EM_LIMITTEXT) counts characters rather than CP932
// bytes (on Wine always; on Windows unless the system's code page is 932), where 40
// double-byte characters would make 80 bytes. The subclass is a Unicode window
// procedure: an ANSI one would receive a double-byte character as two WM_CHAR bytes,
// which Wine's edit then inserts as two wrong characters.
void LimitEditBytes(HWND edit, std::size_t limit);

// For an edit whose text has no byte limit of its own but must stay within CP932.
inline constexpr std::size_t kNoByteLimit = static_cast<std::size_t>(-1);
