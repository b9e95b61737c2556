// The program's run-time texts in both faces, chosen to fit where they are shown.
#include "message/messages.h"

const MessageText message_texts[kMessageCount] = {
    {MessageId::kConfigUnreadableCreating, "コンフィグファイルが読み込めませんでした\n新規作成します",
     "The config file could not be read.\nA new one will be created."},
    {MessageId::kSaveFailed, "コンフィグファイルの保存に失敗しました", "The config file could not be saved."},
    {MessageId::kCreateFailed, "コンフィグファイルの新規作成に失敗しました", "A new config file could not be created."},
    {MessageId::kCreatedUnopenable, "作成されたコンフィグファイルが開けません", "The new config file cannot be opened."},
    {MessageId::kNewerVersion, "新しいバージョンのコンフィグファイルです", "The config file is from a newer version."},
    {MessageId::kLoadFailed, "コンフィグファイルの読み込みに失敗しました", "The config file could not be loaded."},
    {MessageId::kListFull, "既に最大件数登録されています", "The list is already full."},
    {MessageId::kBadAddress, "IPが正しく入力されていません", "The IP address is not entered correctly."},
    {MessageId::kNoJoypad, "ジョイパッドが接続されていません", "No joypad is connected."},
    {MessageId::kDirectInputFailed, "DirectInput8オブジェクトの生成に失敗しました", "DirectInput8 could not be started."},
    {MessageId::kKeyboardCreateFailed, "DirectInput8\nキーボードオブジェクトの生成に失敗しました",
     "DirectInput8\nThe keyboard could not be opened."},
    {MessageId::kKeyboardFormatFailed, "DirectInput8\nキーボードのデータ設定に失敗しました",
     "DirectInput8\nThe keyboard's data format could not be set."},
    {MessageId::kKeyboardSharingFailed, "DirectInput8\nキーボードの協調設定に失敗しました",
     "DirectInput8\nThe keyboard's sharing could not be set."},
    {MessageId::kMouseCreateFailed, "DirectInput8\nマウスオブジェクトの生成に失敗しました",
     "DirectInput8\nThe mouse could not be opened."},
    {MessageId::kMouseFormatFailed, "DirectInput8\nマウスのデータ設定に失敗しました",
     "DirectInput8\nThe mouse's data format could not be set."},
    {MessageId::kMouseSharingFailed, "DirectInput8\nマウスの協調設定に失敗しました",
     "DirectInput8\nThe mouse's sharing could not be set."},
    {MessageId::kCapturing, "変更中", "Press", MessageKind::kLabel},
    {MessageId::kChangedOverwrite, "設定ファイルが他のプログラムによって変更されています。上書きしますか？",
     "The config file was changed by another program. Overwrite it?"},
    {MessageId::kRestoreItem, "前回の保存前に戻す", "Restore the settings before the last save", MessageKind::kLabel},
    {MessageId::kRestoreQuestion,
     "設定を前回の保存前の状態に戻しますか？\n今のファイルはバックアップとして残ります。保存していない変更は失われます。",
     "Restore the settings as they were before the last save?\nThe current file is kept as the backup. Changes not "
     "saved yet are lost."},
    {MessageId::kNoBackup, "前回の保存前のファイルがありません", "There is no file from before the last save."},
    {MessageId::kBackupUnreadable, "前回の保存前のファイルが読み込めませんでした",
     "The file from before the last save could not be read."},
    {MessageId::kRestoreOlderQuestion,
     "前回の保存のときバックアップは他のプログラムが使用中で更新できず、前回の保存前より古い設定のままです。その古い設定に戻しますか？\n"
     "今のファイルはバックアップとして残ります。保存していない変更は失われます。",
     "The backup was in use by another program at the last save and could not be updated: it holds settings older "
     "than those before the last save. Restore those older settings?\nThe current file is kept as the backup. "
     "Changes not saved yet are lost."},
    {MessageId::kSaveBusy, "他のプログラムが設定ファイルを保存中のため、保存できませんでした。\nファイルは変更されていません。もう一度保存してください。",
     "Another program is saving the config file, so it could not be saved.\nThe file was not changed. Please save "
     "again."},
    {MessageId::kSaveNotFlushed,
     "コンフィグファイルは保存しましたが、ディスクに書き込まれたことを確認できませんでした。\n"
     "停電などがあると、今回の変更が失われるおそれがあります。",
     "The config file was saved, but the disk did not confirm that it is stored.\nIf the power fails now, this "
     "change may be lost."},
    {MessageId::kNoJoypadName, "ジョイパッド未接続", "No joypad connected", MessageKind::kLabel},
    {MessageId::kHeldKeys, "押下中:", "Held:", MessageKind::kLabel},
};

const char* MessageIn(MessageId id, Language language) {
    const MessageText& row = message_texts[static_cast<std::size_t>(id)];
    return language == Language::kEnglish ? row.english : row.japanese;
}
