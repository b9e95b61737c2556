// CP932 text from outside (the file's text fields, typed or pasted UTF-16): the
// conversion both ways and the cut of a text to a byte limit. Whatever the input, no
// result ends inside a double-byte character or exceeds its limit, and text that came
// from CP932 goes back to CP932 and round again unchanged.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "text/cp932_text.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

// True when every lead byte of `bytes` has its second byte within them.
bool WholeCharacters(std::string_view bytes) {
    std::size_t at = 0;
    while (at < bytes.size()) at += IsCp932LeadByte(static_cast<unsigned char>(bytes[at])) ? 2 : 1;
    return at == bytes.size();
}

void CheckCut(std::string_view bytes, std::size_t limit) {
    const std::size_t kept = Cp932PrefixLength(bytes.data(), bytes.size(), limit);
    Require(kept <= limit && kept <= bytes.size());
    Require(WholeCharacters(bytes.substr(0, kept)));

    // A fixed-size field copied for showing: NUL-terminated, within its buffer, whole
    // characters only, never read past the field.
    char out[42];
    const std::size_t out_size = 1 + limit % sizeof out;
    const std::size_t length = CopyCp932Text(bytes.data(), bytes.size(), out, out_size);
    Require(length < out_size && out[length] == '\0');
    Require(WholeCharacters(std::string_view(out, length)));
}

// UTF-16 to CP932 under a limit: whole characters within the limit, covering at most
// the text given.
Cp932Prefix CheckFromWide(std::wstring_view text, std::size_t limit) {
    const Cp932Prefix prefix = Cp932FromWide(text, limit);
    Require(prefix.bytes.size() <= limit);
    Require(prefix.units <= text.size());
    Require(WholeCharacters(prefix.bytes));
    Require(WideFromCp932(prefix.bytes).find(wchar_t(0xFFFD)) == std::wstring::npos);
    return prefix;
}

// UTF-16 to CP932 by the rule the window stores entered text with: whole characters
// within the limit, and what is shown reads back as the same bytes.
void CheckStored(std::wstring_view text, std::size_t limit) {
    const Cp932Stored stored = StoredCp932(text, limit);
    Require(stored.bytes.size() <= limit);
    Require(stored.units <= text.size() && stored.left_out <= stored.units);
    Require(WholeCharacters(stored.bytes));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t limit = data[0];
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

    CheckCut(bytes, limit);

    // The same input as UTF-16 code units: any text a window may hand over, lone
    // surrogates included.
    std::wstring typed;
    for (std::size_t at = 1; at + 2 <= size; at += 2) typed += static_cast<wchar_t>(data[at] | data[at + 1] << 8);
    CheckFromWide(typed, limit);
    CheckFromWide(typed, std::string::npos);
    CheckStored(typed, limit);
    CheckStored(typed, std::string::npos);

    // Round trip of text that came from CP932: what WideFromCp932 gives (where no byte was
    // invalid) goes back whole, and its bytes read again as the same text. The bytes may
    // differ from the input: a few characters have two codes, of which one is written.
    const std::wstring wide = WideFromCp932(bytes);
    if (wide.find(wchar_t(0xFFFD)) != std::wstring::npos) return 0;
    const Cp932Prefix whole = CheckFromWide(wide, std::string::npos);
    Require(whole.units == wide.size());
    Require(WideFromCp932(whole.bytes) == wide);
    // Text that holds exactly is stored exactly: the stored rule differs only where a
    // character has no exact form.
    Require(StoredCp932(wide).bytes == whole.bytes);
    // Cut to the limit: a prefix of the same text, and no shorter than needed by more
    // than the one character that did not fit.
    const Cp932Prefix cut = CheckFromWide(wide, limit);
    Require(WideFromCp932(cut.bytes) == wide.substr(0, cut.units));
    Require(cut.units == wide.size() || cut.bytes.size() + 2 > limit);
    return 0;
}
