// A Unicode subclass of an edit control that keeps its text to what the file stores.
#include "ui/byte_limit_edit_win.h"

#include <imm.h>

#include <algorithm>

#include "text/cp932_text.h"
#include "ui/window_text_win.h"

namespace {

const wchar_t kOriginalProcProperty[] = L"QORConfig.EditOriginalProc";
const wchar_t kByteLimitProperty[] = L"QORConfig.EditByteLimit";

WNDPROC OriginalProc(HWND edit) { return reinterpret_cast<WNDPROC>(GetPropW(edit, kOriginalProcProperty)); }

std::size_t ByteLimit(HWND edit) {
    if (!OriginalProc(edit)) return kNoByteLimit;
    return reinterpret_cast<std::size_t>(GetPropW(edit, kByteLimitProperty));
}

LRESULT CallOriginal(HWND edit, UINT message, WPARAM wparam, LPARAM lparam) {
    return CallWindowProcW(OriginalProc(edit), edit, message, wparam, lparam);
}

bool IsMultiline(HWND edit) { return (GetWindowLongW(edit, GWL_STYLE) & ES_MULTILINE) != 0; }

// A single-line edit takes text up to its first line break, as it does from a paste, so
// that no line break is ever stored where the game expects one line.
std::wstring_view FirstLine(HWND edit, std::wstring_view text) {
    if (IsMultiline(edit)) return text;
    return text.substr(0, std::min(text.find(L'\r'), text.find(L'\n')));
}

// The bytes the edit's text takes in the file.
std::size_t StoredBytes(const std::wstring& text) { return StoredCp932(text).bytes.size(); }

bool HasSelection(HWND edit) {
    DWORD start = 0, end = 0;
    CallOriginal(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return start != end;
}

// Removes the selection the way typing over it would; returns the bytes left. The
// selection's units differ between platforms (characters or bytes), so it is measured by
// removing it rather than by its positions.
std::size_t RemoveSelection(HWND edit, BOOL can_undo) {
    if (HasSelection(edit)) CallOriginal(edit, EM_REPLACESEL, can_undo, reinterpret_cast<LPARAM>(L""));
    return StoredBytes(WindowText(edit));
}

// The text a typed character adds, or an empty text for keys that add none.
std::wstring TypedText(HWND edit, WPARAM key) {
    wchar_t ch = static_cast<wchar_t>(key);
    if (ch == L'\r' || ch == L'\n') return IsMultiline(edit) ? L"\r\n" : L"";
    if (ch == L'\t') return L"\t";
    if (ch < L' ' || ch == 0x7F) return L"";  // backspace and the control keys
    return std::wstring(1, ch);
}

// Types `shown`, the form the file reads back for the typed key: the key itself where
// that is the same text, so the edit's own typing (and its undo) handles it.
LRESULT InsertTyped(HWND edit, const std::wstring& typed, const std::wstring& shown, WPARAM wparam, LPARAM lparam) {
    if (shown == typed) return CallOriginal(edit, WM_CHAR, wparam, lparam);
    CallOriginal(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(shown.c_str()));
    return 0;
}

// A typed character goes in whole or not at all.
LRESULT OnChar(HWND edit, WPARAM wparam, LPARAM lparam) {
    const std::wstring typed = TypedText(edit, wparam);
    if (typed.empty()) return CallOriginal(edit, WM_CHAR, wparam, lparam);
    const Cp932Stored stored = StoredCp932(typed);
    if (stored.left_out != 0) {
        // No form at all (half of a surrogate pair included): one beep for the key.
        if (typed[0] < 0xDC00 || typed[0] > 0xDFFF) MessageBeep(MB_OK);
        return 0;
    }
    const std::wstring shown = WideFromCp932(stored.bytes);
    const std::size_t limit = ByteLimit(edit);
    const std::size_t adds = stored.bytes.size();
    const std::wstring before = WindowText(edit);
    if (StoredBytes(before) + adds <= limit) return InsertTyped(edit, typed, shown, wparam, lparam);
    if (!HasSelection(edit)) return 0;
    DWORD start = 0, end = 0;
    CallOriginal(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    if (RemoveSelection(edit, TRUE) + adds <= limit) return InsertTyped(edit, typed, shown, wparam, lparam);
    // Does not fit even in place of the selection: put text and selection back.
    CallOriginal(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(before.c_str()));
    CallOriginal(edit, EM_SETSEL, start, end);
    return 0;
}

// Pasted or replacing text goes in as the file will store it, as far as it fits.
void ReplaceSelectionWithin(HWND edit, std::wstring_view insert, BOOL can_undo) {
    const std::size_t limit = ByteLimit(edit);
    const std::size_t left = RemoveSelection(edit, can_undo);
    const std::size_t room = left < limit ? limit - left : 0;
    const std::wstring fitted = StoredTextShown(FirstLine(edit, insert), room);
    if (!fitted.empty()) CallOriginal(edit, EM_REPLACESEL, can_undo, reinterpret_cast<LPARAM>(fitted.c_str()));
}

LRESULT OnReplaceSelection(HWND edit, WPARAM can_undo, LPARAM text) {
    const wchar_t* insert = reinterpret_cast<const wchar_t*>(text);
    if (!insert) return CallOriginal(edit, EM_REPLACESEL, can_undo, text);
    ReplaceSelectionWithin(edit, insert, static_cast<BOOL>(can_undo));
    return 0;
}

LRESULT OnPaste(HWND edit) {
    if (GetWindowLongW(edit, GWL_STYLE) & ES_READONLY) return CallOriginal(edit, WM_PASTE, 0, 0);
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(edit)) return 0;
    std::wstring pasted;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const wchar_t* text = static_cast<const wchar_t*>(GlobalLock(data))) {
            pasted = text;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    if (!pasted.empty()) ReplaceSelectionWithin(edit, pasted, TRUE);
    return 0;
}

// Text set whole, by the page or by another program (an accessibility or scripting tool).
LRESULT OnSetText(HWND edit, LPARAM text) {
    if (!text) return CallOriginal(edit, WM_SETTEXT, 0, text);
    const std::wstring shown = TextAsEditHolds(edit, reinterpret_cast<const wchar_t*>(text));
    return CallOriginal(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(shown.c_str()));
}

// A character an input method sends: inserted as a paste is, as far as it fits.
LRESULT OnImeChar(HWND edit, WPARAM wparam, LPARAM lparam) {
    const std::wstring typed = TypedText(edit, wparam);
    if (typed.empty()) return CallOriginal(edit, WM_IME_CHAR, wparam, lparam);
    ReplaceSelectionWithin(edit, typed, TRUE);
    return 0;
}

// Undo and an input method's result string change the text without passing through the
// messages above. What they leave is compared with the text before: what both share at
// the start and at the end stays as it was, and the rest is what they inserted, which is
// put in as a paste is (its stored form, cut at the limit), the caret after it.
LRESULT OnTextChangedElsewhere(HWND edit, UINT message, WPARAM wparam, LPARAM lparam) {
    const std::wstring before = WindowText(edit);
    const LRESULT result = CallOriginal(edit, message, wparam, lparam);
    const std::wstring after = WindowText(edit);
    if (TextAsEditHolds(edit, after) == after) return result;
    std::size_t head = 0;
    while (head < before.size() && head < after.size() && before[head] == after[head]) ++head;
    std::size_t tail = 0;
    while (tail < before.size() - head && tail < after.size() - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    const std::wstring kept = after.substr(0, head) + after.substr(after.size() - tail);
    const std::size_t limit = ByteLimit(edit);
    const std::size_t left = StoredBytes(kept);
    const std::wstring fitted =
        StoredTextShown(FirstLine(edit, std::wstring_view(after).substr(head, after.size() - head - tail)),
                        left < limit ? limit - left : 0);
    CallOriginal(edit, EM_SETSEL, head, after.size() - tail);
    CallOriginal(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(fitted.c_str()));
    // What was there stays in its stored form even where the edit's own change reached it.
    const std::wstring text = WindowText(edit);
    if (TextAsEditHolds(edit, text) != text) {
        CallOriginal(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(TextAsEditHolds(edit, text).c_str()));
        CallOriginal(edit, EM_SETSEL, head + fitted.size(), head + fitted.size());
    }
    return result;
}

LRESULT OnDestroy(HWND edit, UINT message, WPARAM wparam, LPARAM lparam) {
    WNDPROC original = OriginalProc(edit);
    SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    RemovePropW(edit, kOriginalProcProperty);
    RemovePropW(edit, kByteLimitProperty);
    return CallWindowProcW(original, edit, message, wparam, lparam);
}

LRESULT CALLBACK ByteLimitEditProc(HWND edit, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CHAR: return OnChar(edit, wparam, lparam);
    case WM_PASTE: return OnPaste(edit);
    case EM_REPLACESEL: return OnReplaceSelection(edit, wparam, lparam);
    case WM_SETTEXT: return OnSetText(edit, lparam);
    case WM_IME_CHAR: return OnImeChar(edit, wparam, lparam);
    case WM_UNDO:
    case EM_UNDO: return OnTextChangedElsewhere(edit, message, wparam, lparam);
    case WM_IME_COMPOSITION:
        // Only the result string is text; a composition in progress is left alone.
        if (lparam & GCS_RESULTSTR) return OnTextChangedElsewhere(edit, message, wparam, lparam);
        break;
    case WM_NCDESTROY: return OnDestroy(edit, message, wparam, lparam);
    }
    return CallOriginal(edit, message, wparam, lparam);
}

}  // namespace

void LimitEditBytes(HWND edit, std::size_t limit) {
    if (!edit) return;
    SetPropW(edit, kByteLimitProperty, reinterpret_cast<HANDLE>(limit));
    if (OriginalProc(edit)) return;
    // The original procedure is known before the first message can reach the subclass.
    LONG_PTR original = GetWindowLongPtrW(edit, GWLP_WNDPROC);
    SetPropW(edit, kOriginalProcProperty, reinterpret_cast<HANDLE>(original));
    SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ByteLimitEditProc));
}

std::wstring TextAsEditHolds(HWND edit, std::wstring_view text) {
    if (!OriginalProc(edit)) return std::wstring(text);
    return StoredTextShown(FirstLine(edit, text), ByteLimit(edit));
}
