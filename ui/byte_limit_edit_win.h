// Keeps an edit control's text within a number of bytes of the ANSI code page.
#pragma once

#include <windows.h>

#include <cstddef>

// Subclasses `edit` so that typing, pasting and EM_REPLACESEL never take its text beyond
// `limit` bytes: a typed character that does not fit is refused, pasted or replacing
// text is cut at a character boundary to the room left. Text set with WM_SETTEXT is not
// limited. Calling it again for the same edit only changes the limit; the subclass
// removes itself when the edit is destroyed.
//
// Needed because an ANSI edit's own limit (EM_LIMITTEXT) counts characters rather than
// bytes on some platforms (Wine), where 40 double-byte characters would make 80 bytes.
// The subclass is a Unicode window procedure: an ANSI one would receive a double-byte
// character as two WM_CHAR bytes, which Wine's edit then inserts as two wrong characters.
void LimitEditBytes(HWND edit, std::size_t limit);
