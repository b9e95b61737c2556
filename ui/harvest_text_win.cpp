// Stored CP932 fields shown in edits, and harvested back without changing a text nobody changed.
#include "ui/harvest_text_win.h"

#include <cstring>
#include <string_view>

#include "text/cp932_text.h"
#include "ui/byte_limit_edit_win.h"
#include "ui/window_text_win.h"

namespace {

// The stored text as the edit holds it: up to the first NUL, never past the field, and in
// a single-line edit up to its first line break, which such an edit never shows (an ID
// pasted whole by an older build), so that what it saves is what it shows. CR and LF are
// never the second byte of a CP932 character.
std::string_view FieldBytes(HWND edit, const char* stored, std::size_t stored_size) {
    const std::string_view bytes(stored, strnlen(stored, stored_size));
    if ((GetWindowLongW(edit, GWL_STYLE) & ES_MULTILINE) != 0) return bytes;
    return bytes.substr(0, bytes.find_first_of("\r\n"));
}

std::wstring FieldAsShown(HWND edit, std::string_view bytes) {
    const std::size_t whole = Cp932PrefixLength(bytes.data(), bytes.size(), bytes.size());
    return TextAsEditHolds(edit, WideFromCp932(bytes.substr(0, whole)));
}

}  // namespace

void ShowStoredText(HWND edit, const char* stored, std::size_t stored_size) {
    const std::wstring text = FieldAsShown(edit, FieldBytes(edit, stored, stored_size));
    SetWindowTextW(edit, text.c_str());
}

std::string HarvestedEditText(HWND edit, const char* stored, std::size_t stored_size, std::size_t limit) {
    const std::string_view bytes = FieldBytes(edit, stored, stored_size);
    // Compared with what the page shows for the stored text rather than by a flag: text
    // set by another program with WM_SETTEXT sets no modify flag, and the flag stays set
    // when the user types the old text back.
    if (WindowText(edit) == FieldAsShown(edit, bytes))
        return std::string(bytes.substr(0, bytes.size() > limit ? Cp932PrefixLength(bytes.data(), bytes.size(), limit)
                                                                : bytes.size()));
    return StoredCp932(WindowText(edit), limit).bytes;
}
