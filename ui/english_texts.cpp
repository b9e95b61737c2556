// The English texts, chosen to fit the controls the Japanese templates size: short, plain
// game words. A fit test measures every one of them with the dialog font.
#include "ui/english_texts.h"

#include <cstring>
#include <iterator>

#include "ui/resources/resource_ids.h"

namespace {

const ControlText kFrame[] = {
    {IDC_SAVE, "保存", "Save"},
    {IDC_EXIT, "終了", "Exit"},
};

const ControlText kOptions[] = {
    {kNoControlId, "画面サイズ", "Screen size"},
    {kNoControlId, "フルスクリーン", "Full screen"},
    {kNoControlId, "FPS", "Frame rate"},
    {kNoControlId, "ステージバリア", "Stage barrier"},
    {IDC_BARRIER_NEAR, "キャラ周囲", "Nearby"},
    {IDC_BARRIER_ALWAYS, "常時表示", "Always"},
    {kNoControlId, "負荷を軽減", "Reduce load"},
    {kNoControlId, "画面振動", "Screen shake"},
    {kNoControlId, "音量", "Volume"},
    {kNoControlId, "ストーリー難度", "Story difficulty"},
    {kNoControlId, "ムービー再生", "Movie playback"},
    {kNoControlId, "非アクティブ動作", "Run when inactive"},
    {kNoControlId, "ローディングイラスト", "Loading illustrations"},
    {IDC_LOADING_DEFAULT, "デフォルト", "Default"},
    {IDC_LOADING_ILLUST, "イラスト", "Pictures"},
    {IDC_LOADING_ALL, "全部", "All"},
    {IDC_RESET, "初期設定に戻す", "Reset defaults"},
};

// The list, Add and Delete of the three address pages.
#define ADDRESS_LIST_TEXTS \
    {kNoControlId, "IPリスト", "IP list"}, \
    {IDC_ADDRESS_ADD, "追加", "Add"}, \
    {IDC_ADDRESS_DELETE, "削除", "Delete"}

const ControlText kConnect[] = {ADDRESS_LIST_TEXTS};
const ControlText kDenied[] = {ADDRESS_LIST_TEXTS};
const ControlText kAllowed[] = {
    {IDC_ALLOWED_ONLY, "接続許可IPを使用する", "Use the allowed list"},
    ADDRESS_LIST_TEXTS,
};

const ControlText kKeyConfig[] = {
    {kNoControlId, "プレイヤー", "Player"},
    {kNoControlId, "操作方法", "Control"},
    {IDC_METHOD_KEYBOARD, "キーボード", "Keyboard"},
    {IDC_METHOD_JOYPAD, "ジョイパッド", "Joypad"},
    {kNoControlId, "操作キー", "Buttons"},
    {kNoControlId, "攻撃・魔力技１", "Attack/Skill 1"},
    {kNoControlId, "魔力弾・魔力技２/決定", "Shot/Skill 2/OK"},
    {kNoControlId, "ガード・魔力技３/キャンセル", "Guard/Skill 3/Cancel"},
    {kNoControlId, "ダッシュ", "Dash"},
    {kNoControlId, "魔力溜め・魔力技トリガー", "Charge/Skill trigger"},
    {kNoControlId, "ターゲット変更", "Target"},
    {kNoControlId, "上昇", "Rise"},
    {kNoControlId, "下降", "Fall"},
    {kNoControlId, "メニュー", "Menu"},
    {IDC_KEY_CHANGE_1, "変更", "Change"},
    {IDC_KEY_CHANGE_2, "変更", "Change"},
    {IDC_KEY_CHANGE_3, "変更", "Change"},
    {IDC_KEY_CHANGE_4, "変更", "Change"},
    {IDC_KEY_CHANGE_5, "変更", "Change"},
    {IDC_KEY_CHANGE_6, "変更", "Change"},
    {IDC_KEY_CHANGE_7, "変更", "Change"},
    {IDC_KEY_CHANGE_8, "変更", "Change"},
    {IDC_KEY_CHANGE_9, "変更", "Change"},
    {IDC_RESET, "初期設定に戻す", "Reset defaults"},
};

// The eight rows' targets; the "送信先" captions have no identifier.
const ControlText kMessages[] = {
    {kNoControlId, "送信先", "Send to"},
    {IDC_MSG1_ALL, "全体", "All"}, {IDC_MSG1_TEAM, "チーム", "Team"},
    {IDC_MSG2_ALL, "全体", "All"}, {IDC_MSG2_TEAM, "チーム", "Team"},
    {IDC_MSG3_ALL, "全体", "All"}, {IDC_MSG3_TEAM, "チーム", "Team"},
    {IDC_MSG4_ALL, "全体", "All"}, {IDC_MSG4_TEAM, "チーム", "Team"},
    {IDC_MSG5_ALL, "全体", "All"}, {IDC_MSG5_TEAM, "チーム", "Team"},
    {IDC_MSG6_ALL, "全体", "All"}, {IDC_MSG6_TEAM, "チーム", "Team"},
    {IDC_MSG7_ALL, "全体", "All"}, {IDC_MSG7_TEAM, "チーム", "Team"},
    {IDC_MSG8_ALL, "全体", "All"}, {IDC_MSG8_TEAM, "チーム", "Team"},
};

// The dialog's buttons carry the standard identifiers of OK (1) and Cancel (2).
const ControlText kAddressDialog[] = {
    {1, "追加", "Add"},
    {2, "キャンセル", "Cancel"},
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

const Phrase english_phrases[] = {
    {"コンフィグファイルが読み込めませんでした\n新規作成します",
     "The config file could not be read.\nA new one will be created."},
    {"コンフィグファイルの保存に失敗しました", "The config file could not be saved."},
    {"コンフィグファイルの新規作成に失敗しました", "A new config file could not be created."},
    {"作成されたコンフィグファイルが開けません", "The new config file cannot be opened."},
    {"新しいバージョンのコンフィグファイルです", "The config file is from a newer version."},
    {"コンフィグファイルの読み込みに失敗しました", "The config file could not be loaded."},
    {"既に最大件数登録されています", "The list is already full."},
    {"IPが正しく入力されていません", "The IP address is not entered correctly."},
    {"ジョイパッドが接続されていません", "No joypad is connected."},
    {"DirectInput8オブジェクトの生成に失敗しました", "DirectInput8 could not be started."},
    {"DirectInput8\nキーボードオブジェクトの生成に失敗しました", "DirectInput8\nThe keyboard could not be opened."},
    {"DirectInput8\nキーボードのデータ設定に失敗しました", "DirectInput8\nThe keyboard's data format could not be set."},
    {"DirectInput8\nキーボードの協調設定に失敗しました", "DirectInput8\nThe keyboard's sharing could not be set."},
    {"DirectInput8\nマウスオブジェクトの生成に失敗しました", "DirectInput8\nThe mouse could not be opened."},
    {"DirectInput8\nマウスのデータ設定に失敗しました", "DirectInput8\nThe mouse's data format could not be set."},
    {"DirectInput8\nマウスの協調設定に失敗しました", "DirectInput8\nThe mouse's sharing could not be set."},
    {"変更中", "Press"},
    {"設定ファイルが他のプログラムによって変更されています。上書きしますか？",
     "The config file was changed by another program. Overwrite it?"},
    {"前回の保存前に戻す", "Restore the settings before the last save"},
    {"設定を前回の保存前の状態に戻しますか？\n今のファイルはバックアップとして残ります。保存していない変更は失われます。",
     "Restore the settings as they were before the last save?\nThe current file is kept as the backup. Changes not "
     "saved yet are lost."},
    {"前回の保存前のファイルがありません", "There is no file from before the last save."},
    {"前回の保存前のファイルが読み込めませんでした", "The file from before the last save could not be read."},
};
const std::size_t english_phrase_count = std::size(english_phrases);

const char* EnglishPhrase(const char* japanese) {
    for (const Phrase& phrase : english_phrases) {
        if (std::strcmp(phrase.japanese, japanese) == 0) return phrase.english;
    }
    return nullptr;
}
