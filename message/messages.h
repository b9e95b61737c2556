// Every text the program shows at run time (its messages and the capture prompt), by
// identifier, with its Japanese and its English form in one row.
#pragma once

#include <cstddef>

// The two faces the program shows.
enum class Language { kJapanese, kEnglish };

enum class MessageId {
    kConfigUnreadableCreating,
    kSaveFailed,
    kCreateFailed,
    kCreatedUnopenable,
    kNewerVersion,
    kLoadFailed,
    kListFull,
    kBadAddress,
    kNoJoypad,
    kDirectInputFailed,
    kKeyboardCreateFailed,
    kKeyboardFormatFailed,
    kKeyboardSharingFailed,
    kMouseCreateFailed,
    kMouseFormatFailed,
    kMouseSharingFailed,
    kCapturing,  // the key label while a capture waits for a button
    kChangedOverwrite,
    kRestoreItem,  // the system menu's item
    kRestoreQuestion,
    kNoBackup,
    kBackupUnreadable,
    kRestoreOlderQuestion,  // the backup a save could not refresh
    kSaveBusy,              // another writer held the save's lock for longer than a save waits
    kSaveNotFlushed,        // saved, but the folder could not be flushed: not yet safe from a power loss
    kNoJoypadName,          // the key page's controller line when none is connected
    kHeldKeys,              // the key page's line of held buttons no row shows, before "KEY n, n"
    kCount
};

inline constexpr std::size_t kMessageCount = static_cast<std::size_t>(MessageId::kCount);

// Where a text is shown: in a message box (an error or a question), which the players'
// guides explain each of, or as a label of the window.
enum class MessageKind { kBox, kLabel };

// Both texts are CP932 bytes; the English one is ASCII.
struct MessageText {
    MessageId id;
    const char* japanese;
    const char* english;
    MessageKind kind = MessageKind::kBox;
};

// One row per identifier, in identifier order.
extern const MessageText message_texts[kMessageCount];

// The text of `id` in `language`.
const char* MessageIn(MessageId id, Language language);
