// Keeps an edit control's text to what the file stores of it: within a number of CP932
// bytes, in the characters that read back from the stored bytes.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>

// Subclasses `edit` so that its text is always what the file will store of it (see
// StoredCp932), however the text gets there: typed, pasted, replaced (EM_REPLACESEL),
// set with WM_SETTEXT (by the page or by another program), undone or entered through an
// input method. A character is shown as the stored bytes read back (a wave dash U+301C
// as the full-width tilde, an e acute as e). A typed character with no CP932 form at
// all (an emoji) is refused with a beep, and so is one that does not fit in `limit`
// bytes; any other text leaves out just its characters without a form and is cut at a
// character boundary at the limit. Pasted, replacing, undone and input-method text is
// cut where it is inserted: the text already there stays whole, and the caret stands
// after what went in. A single-line edit takes a pasted or replacing text
// up to its first line break. Calling it again for the same edit only changes the limit;
// the subclass removes itself when the edit is destroyed.
//
// Needed because an edit's own limit (EM_LIMITTEXT) counts characters rather than CP932
// bytes (on Wine always; on Windows unless the system's code page is 932), where 40
// double-byte characters would make 80 bytes. The subclass is a Unicode window
// procedure: an ANSI one would receive a double-byte character as two WM_CHAR bytes,
// which Wine's edit then inserts as two wrong characters.
void LimitEditBytes(HWND edit, std::size_t limit);

// For an edit whose text has no byte limit of its own but must stay within CP932.
inline constexpr std::size_t kNoByteLimit = static_cast<std::size_t>(-1);

// The text `edit` holds once it is set to `text` (WM_SETTEXT): what its subclass keeps of
// it. For an edit without the subclass, `text` itself.
std::wstring TextAsEditHolds(HWND edit, std::wstring_view text);
