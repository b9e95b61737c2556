// A test fixture that starts the tool in-process as the program does: a scratch game
// folder as the current directory, the configuration loaded, the main window and the
// six pages created. Messages shown meanwhile are recorded, never displayed.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "support/scratch_dir.h"

class WindowFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs before the configuration is loaded; by default there is no file, so loading
    // creates one with the defaults. Override to write a file of your own.
    virtual void PrepareConfig() {}

    // The face remembered for the user when the tool starts ("ja", "en"); null: none, so
    // the Windows UI language decides. The tests keep it under a key of their own.
    virtual const wchar_t* StoredLanguage() const { return nullptr; }
    static const wchar_t kTestLanguageKey[];
    static void SetStoredLanguage(const wchar_t* code);
    std::wstring ReadStoredLanguage() const;

    HWND Page(int index) const;
    HWND Control(int page, int id) const;
    int TabSelection(int page) const;
    bool PageVisible(int page) const;

    // What a click on tab `index` of the page shown produces: the tab control changes
    // its selection and notifies its page.
    void SelectTab(int index);
    // A click on a push button of a page (BM_CLICK; the page need not be shown).
    void Click(int page, int id);
    // The command a click on control `id` of `page` sends, without the button.
    void Command(int page, int id);
    // Dispatches everything queued; true when the quit message came.
    bool PumpMessages();

    const std::vector<std::string>& Messages() const { return recorder_->Messages(); }

public:
    // The window's Yes/No questions are recorded, never shown, and answered Yes unless
    // a test says otherwise; `while_asked`, when set, runs as each question is open.
    struct Question {
        HWND owner;
        std::string text;
    };
    static std::vector<Question> questions_;
    static bool answer_;
    static void (*while_asked_)();

protected:

    std::optional<testing_support::ScratchGameFolder> folder_;
    std::optional<testing_support::MessageRecorder> recorder_;
};

// Helpers the window tests share.
std::string Repeat(const std::string& piece, int times);
// A window's text as the user reads it, in UTF-16.
std::wstring Text(HWND window);
// The labels of a tab control's items, in UTF-16.
std::vector<std::wstring> TabLabels(HWND tab);
// Puts text on the clipboard as a user's copy does, in UTF-16.
void PutOnClipboard(HWND owner, const std::wstring& text);
