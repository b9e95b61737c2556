// The English texts, chosen to fit the controls the Japanese templates size: short, plain
// game words. A fit test measures every one of them with the dialog font. The key rows'
// actions and the options' meanings are the words qorcfg shows for them as well.
#include "ui/english_texts.h"

#include <iterator>

#include "model/key_assign.h"
#include "model/option_rules.h"
#include "ui/resources/resource_ids.h"

namespace {

const char* Meaning(OptionFieldId field, int button) { return OptionRuleOf(field).meanings[button]; }

const ControlText kFrame[] = {
    {IDC_SAVE, "Save"},
    {IDC_EXIT, "Exit"},
};

const ControlText kOptions[] = {
    {IDC_SCREEN_SIZE_CAPTION, "Screen size"},
    {IDC_FULL_SCREEN_CAPTION, "Full screen"},
    {IDC_FPS_CAPTION, "Frame rate"},
    {IDC_BARRIER_CAPTION, "Stage barrier"},
    {IDC_BARRIER_NEAR, Meaning(kBarrierField, 0)},
    {IDC_BARRIER_ALWAYS, Meaning(kBarrierField, 1)},
    {IDC_REDUCE_LOAD_CAPTION, "Reduce load"},
    {IDC_SHAKE_CAPTION, "Screen shake"},
    {IDC_VOLUME_CAPTION, "Volume"},
    {IDC_DIFFICULTY_CAPTION, "Story difficulty"},
    {IDC_MOVIE_CAPTION, "Movie playback"},
    {IDC_INACTIVE_CAPTION, "Run when inactive"},
    {IDC_LOADING_CAPTION, "Loading illustrations"},
    {IDC_LOADING_DEFAULT, Meaning(kLoadingField, 0)},
    {IDC_LOADING_ILLUST, Meaning(kLoadingField, 1)},
    {IDC_LOADING_ALL, Meaning(kLoadingField, 2)},
    {IDC_RESET, "Reset defaults"},
};

// The list's caption, Add and Delete of the three address pages.
#define ADDRESS_LIST_TEXTS \
    {IDC_ADDRESS_LIST_CAPTION, "IP list"}, {IDC_ADDRESS_ADD, "Add"}, {IDC_ADDRESS_DELETE, "Delete"}

const ControlText kConnect[] = {ADDRESS_LIST_TEXTS};
const ControlText kDenied[] = {ADDRESS_LIST_TEXTS};
const ControlText kAllowed[] = {
    {IDC_ALLOWED_ONLY, "Use the allowed list"},
    ADDRESS_LIST_TEXTS,
};

// Row r of the page: its caption, the action of key row r, and its change button.
#define KEY_ROW_TEXTS(r) {IDC_KEY_CAPTION_1 + (r), key_rows[r].action}, {IDC_KEY_CHANGE_1 + (r), "Change"}

const ControlText kKeyConfig[] = {
    {IDC_PLAYER_CAPTION, "Player"},
    {IDC_METHOD_CAPTION, "Control"},
    {IDC_METHOD_KEYBOARD, "Keyboard"},
    {IDC_METHOD_JOYPAD, "Joypad"},
    {IDC_KEYS_CAPTION, "Buttons"},
    KEY_ROW_TEXTS(0), KEY_ROW_TEXTS(1), KEY_ROW_TEXTS(2), KEY_ROW_TEXTS(3), KEY_ROW_TEXTS(4),
    KEY_ROW_TEXTS(5), KEY_ROW_TEXTS(6), KEY_ROW_TEXTS(7), KEY_ROW_TEXTS(8),
    {IDC_RESET, "Reset defaults"},
};

// Row r of the page: its "送信先" caption and its two target buttons.
#define MESSAGE_ROW_TEXTS(n) {IDC_MSG##n##_SEND_TO, "Send to"}, {IDC_MSG##n##_ALL, "All"}, {IDC_MSG##n##_TEAM, "Team"}

const ControlText kMessages[] = {
    MESSAGE_ROW_TEXTS(1), MESSAGE_ROW_TEXTS(2), MESSAGE_ROW_TEXTS(3), MESSAGE_ROW_TEXTS(4),
    MESSAGE_ROW_TEXTS(5), MESSAGE_ROW_TEXTS(6), MESSAGE_ROW_TEXTS(7), MESSAGE_ROW_TEXTS(8),
};

// The dialog's buttons carry the standard identifiers of OK (1) and Cancel (2).
const ControlText kAddressDialog[] = {
    {1, "Add"},
    {2, "Cancel"},
};

}  // namespace

const WindowTexts page_frame_texts = {nullptr, kFrame, std::size(kFrame)};
const WindowTexts options_page_texts = {"Options", kOptions, std::size(kOptions)};
const WindowTexts connect_page_texts = {"Connect to", kConnect, std::size(kConnect)};
const WindowTexts denied_page_texts = {"Denied", kDenied, std::size(kDenied)};
const WindowTexts allowed_page_texts = {"Allowed", kAllowed, std::size(kAllowed)};
const WindowTexts key_config_page_texts = {"Key config", kKeyConfig, std::size(kKeyConfig)};
const WindowTexts message_page_texts = {"Messages", kMessages, std::size(kMessages)};
const WindowTexts address_dialog_texts = {"Add IP", kAddressDialog, std::size(kAddressDialog)};
