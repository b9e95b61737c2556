// Texts the user leaves alone go back to the file with the bytes they came with, even
// where the edit would hand back another code for the same character.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "page_files.h"
#include "support/config_layout.h"
#include "ui/resources/resource_ids.h"
#include "ui/window_win.h"
#include "window_fixture.h"

using config_layout::kConnectIdAt;
using config_layout::kMessageBytes;
using config_layout::kMessagesAt;
using config_layout::MessageItem;
using config_layout::Slice;

namespace {

// Two CP932 codes that have twins for the same character: 87 90 (81 E0) and ED 40 (FA 5C).
const std::string kTwinCodes = "\x87\x90\xed\x40";

class UntouchedTextTest : public WindowFixture {
protected:
    void PrepareConfig() override {
        std::vector<std::uint8_t> messages;
        for (int row = 0; row < 8; ++row) {
            // F8 ends in a lead byte without its second byte, as only a damaged file holds:
            // the edit cannot show it, and an untouched save must keep it.
            const std::string text = kTwinCodes + "F" + std::to_string(row + 1) + (row == 7 ? "\x82" : "");
            const std::vector<std::uint8_t> item = MessageItem(text, row % 2);
            messages.insert(messages.end(), item.begin(), item.end());
        }
        original_ = page_files::File272(page_files::UnusualOptionBlock(), messages);
        const std::string id = kTwinCodes + "ID";
        std::memcpy(&original_[kConnectIdAt], id.c_str(), id.size() + 1);
        folder_->WriteConfig(original_);
    }

    std::string EditText(int page, int id) const {
        char text[64] = {};
        GetWindowTextA(Control(page, id), text, sizeof text);
        return text;
    }

    // A key typed at the end of the text, as the keyboard delivers it.
    void TypeAtEnd(int page, int id, wchar_t key) {
        HWND edit = Control(page, id);
        SendMessageW(edit, EM_SETSEL, 0x7fff, 0x7fff);
        SendMessageW(edit, WM_CHAR, key, 0);
    }

    std::vector<std::uint8_t> original_;
};

TEST_F(UntouchedTextTest, ASaveWithoutEditsWritesTheFileByteForByte) {
    Command(kMessagePage, IDC_SAVE);
    EXPECT_EQ(folder_->ReadConfig(), original_);
    EXPECT_TRUE(Messages().empty());
}

// Only the fields the user changed are taken from their edits.
TEST_F(UntouchedTextTest, EditedFieldsAreTakenFromTheirEditsAndTheOthersKeptExactly) {
    TypeAtEnd(kConnectPage, IDC_CONNECT_ID, L'x');
    TypeAtEnd(kMessagePage, IDC_MSG2_TEXT, L'y');
    const std::string id = EditText(kConnectPage, IDC_CONNECT_ID);
    const std::string f2 = EditText(kMessagePage, IDC_MSG2_TEXT);
    ASSERT_EQ(id.back(), 'x');
    ASSERT_EQ(f2.back(), 'y');
    Command(kMessagePage, IDC_SAVE);
    const std::vector<std::uint8_t> saved = folder_->ReadConfig();
    ASSERT_EQ(saved.size(), original_.size());

    std::vector<std::uint8_t> expected_id = Slice(original_, kConnectIdAt, 17);
    std::memcpy(expected_id.data(), id.c_str(), id.size() + 1);
    EXPECT_EQ(Slice(saved, kConnectIdAt, 17), expected_id);
    std::vector<std::uint8_t> expected_f2 = MessageItem(f2, 1);
    EXPECT_EQ(Slice(saved, kMessagesAt + kMessageBytes, kMessageBytes), expected_f2);
    for (int row : {0, 2, 3, 4, 5, 6, 7}) {
        SCOPED_TRACE(row);
        EXPECT_EQ(Slice(saved, kMessagesAt + kMessageBytes * row, kMessageBytes),
                  Slice(original_, kMessagesAt + kMessageBytes * row, kMessageBytes));
    }
}

// Text set by another program (an accessibility or scripting tool's WM_SETTEXT) is saved
// although it sets no modify flag.
TEST_F(UntouchedTextTest, TextSetByAnotherProgramIsSaved) {
    SendMessageW(Control(kConnectPage, IDC_CONNECT_ID), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"NewID"));
    SendMessageW(Control(kMessagePage, IDC_MSG3_TEXT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"またね〜"));
    Command(kMessagePage, IDC_SAVE);
    const std::vector<std::uint8_t> saved = folder_->ReadConfig();
    std::vector<std::uint8_t> expected = original_;
    std::memcpy(&expected[kConnectIdAt], "NewID", 6);
    const std::vector<std::uint8_t> f3 = MessageItem("\x82\xdc\x82\xbd\x82\xcb\x81\x60", 0);
    std::copy(f3.begin(), f3.end(), expected.begin() + kMessagesAt + kMessageBytes * 2);
    EXPECT_EQ(saved, expected);
}

// The very text the page showed, put back by another program or typed back, is the
// stored text: its twin codes and stray byte go back as they came.
TEST_F(UntouchedTextTest, TheShownTextPutBackKeepsTheStoredBytes) {
    for (HWND edit : {Control(kConnectPage, IDC_CONNECT_ID), Control(kMessagePage, IDC_MSG3_TEXT),
                      Control(kMessagePage, IDC_MSG8_TEXT)}) {
        const int length = GetWindowTextLengthW(edit);
        std::wstring shown(static_cast<std::size_t>(length) + 1, L'\0');
        shown.resize(static_cast<std::size_t>(GetWindowTextW(edit, shown.data(), length + 1)));
        SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"changed"));
        SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(shown.c_str()));
    }
    TypeAtEnd(kMessagePage, IDC_MSG1_TEXT, L'x');
    TypeAtEnd(kMessagePage, IDC_MSG1_TEXT, L'\b');
    Command(kMessagePage, IDC_SAVE);
    EXPECT_EQ(folder_->ReadConfig(), original_);
}

// A key that does not fit is refused without making an edited field look untouched.
TEST_F(UntouchedTextTest, ARefusedKeyLeavesAnEditedFieldEdited) {
    HWND edit = Control(kMessagePage, IDC_MSG3_TEXT);
    SendMessageW(edit, EM_SETSEL, 0, 0x7fff);
    for (int i = 0; i < 40; ++i) SendMessageW(edit, WM_CHAR, L'a', 0);
    SendMessageW(edit, EM_SETSEL, 0, 1);
    SendMessageW(edit, WM_CHAR, 0x3042, 0);  // a kana, two bytes in place of one
    ASSERT_EQ(EditText(kMessagePage, IDC_MSG3_TEXT), std::string(40, 'a'));
    Command(kMessagePage, IDC_SAVE);
    EXPECT_EQ(Slice(folder_->ReadConfig(), kMessagesAt + kMessageBytes * 2, kMessageBytes),
              MessageItem(std::string(40, 'a'), 0));
}

}  // namespace
