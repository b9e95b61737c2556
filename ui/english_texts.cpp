// The English texts, chosen to fit the controls the Japanese templates size: short, plain
// game words. A fit test measures every one of them with the dialog font.
#include "ui/english_texts.h"

#include <iterator>

#include "ui/resources/resource_ids.h"

namespace {

const ControlText kFrame[] = {
    {Id(IDC_SAVE), "保存", "Save"},
    {Id(IDC_EXIT), "終了", "Exit"},
};

const ControlText kOptions[] = {
    {Place(3), "画面サイズ", "Screen size"},
    {Place(7), "フルスクリーン", "Full screen"},
    {Place(10), "FPS", "Frame rate"},
    {Place(13), "ステージバリア", "Stage barrier"},
    {Id(IDC_BARRIER_NEAR), "キャラ周囲", "Nearby"},
    {Id(IDC_BARRIER_ALWAYS), "常時表示", "Always"},
    {Place(16), "負荷を軽減", "Reduce load"},
    {Place(19), "画面振動", "Screen shake"},
    {Place(22), "音量", "Volume"},
    {Place(29), "ストーリー難度", "Story difficulty"},
    {Place(34), "ムービー再生", "Movie playback"},
    {Place(37), "非アクティブ動作", "Run when inactive"},
    {Place(40), "ローディングイラスト", "Loading illustrations"},
    {Id(IDC_LOADING_DEFAULT), "デフォルト", "Default"},
    {Id(IDC_LOADING_ILLUST), "イラスト", "Pictures"},
    {Id(IDC_LOADING_ALL), "全部", "All"},
    {Id(IDC_RESET), "初期設定に戻す", "Reset defaults"},
};

// The list's caption (at `place` in the page's template), Add and Delete of the three
// address pages.
#define ADDRESS_LIST_TEXTS(place) \
    {Place(place), "IPリスト", "IP list"}, \
    {Id(IDC_ADDRESS_ADD), "追加", "Add"}, \
    {Id(IDC_ADDRESS_DELETE), "削除", "Delete"}

const ControlText kConnect[] = {ADDRESS_LIST_TEXTS(5)};
const ControlText kDenied[] = {ADDRESS_LIST_TEXTS(3)};
const ControlText kAllowed[] = {
    {Id(IDC_ALLOWED_ONLY), "接続許可IPを使用する", "Use the allowed list"},
    ADDRESS_LIST_TEXTS(4),
};

const ControlText kKeyConfig[] = {
    {Place(3), "プレイヤー", "Player"},
    {Place(6), "操作方法", "Control"},
    {Id(IDC_METHOD_KEYBOARD), "キーボード", "Keyboard"},
    {Id(IDC_METHOD_JOYPAD), "ジョイパッド", "Joypad"},
    {Place(9), "操作キー", "Buttons"},
    {Place(10), "攻撃・魔力技１", "Attack/Skill 1"},
    {Place(13), "魔力弾・魔力技２/決定", "Shot/Skill 2/OK"},
    {Place(16), "ガード・魔力技３/キャンセル", "Guard/Skill 3/Cancel"},
    {Place(19), "ダッシュ", "Dash"},
    {Place(22), "魔力溜め・魔力技トリガー", "Charge/Skill trigger"},
    {Place(25), "ターゲット変更", "Target"},
    {Place(28), "上昇", "Rise"},
    {Place(31), "下降", "Fall"},
    {Place(34), "メニュー", "Menu"},
    {Id(IDC_KEY_CHANGE_1), "変更", "Change"},
    {Id(IDC_KEY_CHANGE_2), "変更", "Change"},
    {Id(IDC_KEY_CHANGE_3), "変更", "Change"},
    {Id(IDC_KEY_CHANGE_4), "変更", "Change"},
    {Id(IDC_KEY_CHANGE_5), "変更", "Change"},
    {Id(IDC_KEY_CHANGE_6), "変更", "Change"},
    {Id(IDC_KEY_CHANGE_7), "変更", "Change"},
    {Id(IDC_KEY_CHANGE_8), "変更", "Change"},
    {Id(IDC_KEY_CHANGE_9), "変更", "Change"},
    {Id(IDC_RESET), "初期設定に戻す", "Reset defaults"},
};

// The eight rows' targets; row r's "送信先" caption has no identifier and stands at
// 5 + 5r in the template (its group box, edit, caption and two buttons).
#define SEND_TO(row) {Place(5 + 5 * (row)), "送信先", "Send to"}
const ControlText kMessages[] = {
    SEND_TO(0), SEND_TO(1), SEND_TO(2), SEND_TO(3), SEND_TO(4), SEND_TO(5), SEND_TO(6), SEND_TO(7),
    {Id(IDC_MSG1_ALL), "全体", "All"}, {Id(IDC_MSG1_TEAM), "チーム", "Team"},
    {Id(IDC_MSG2_ALL), "全体", "All"}, {Id(IDC_MSG2_TEAM), "チーム", "Team"},
    {Id(IDC_MSG3_ALL), "全体", "All"}, {Id(IDC_MSG3_TEAM), "チーム", "Team"},
    {Id(IDC_MSG4_ALL), "全体", "All"}, {Id(IDC_MSG4_TEAM), "チーム", "Team"},
    {Id(IDC_MSG5_ALL), "全体", "All"}, {Id(IDC_MSG5_TEAM), "チーム", "Team"},
    {Id(IDC_MSG6_ALL), "全体", "All"}, {Id(IDC_MSG6_TEAM), "チーム", "Team"},
    {Id(IDC_MSG7_ALL), "全体", "All"}, {Id(IDC_MSG7_TEAM), "チーム", "Team"},
    {Id(IDC_MSG8_ALL), "全体", "All"}, {Id(IDC_MSG8_TEAM), "チーム", "Team"},
};

// The dialog's buttons carry the standard identifiers of OK (1) and Cancel (2).
const ControlText kAddressDialog[] = {
    {Id(1), "追加", "Add"},
    {Id(2), "キャンセル", "Cancel"},
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
