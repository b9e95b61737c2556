// qorcfg's Japanese face: every text of cli/texts.h, one row each, in identifier order.
// The words are the window's own (拒否IP, 許可IP, 接続先IP, キーコンフィグ, the option
// captions), so that a host who knows the window knows the tool. Names that scripts type
// (commands, fields, lists, options, JSON members) stay as they are.
#include "cli/texts.h"

#define T(id, text) {CliText::id, u8##text}

const CliTextRow japanese_cli_texts[kCliTextCount] = {
    T(kJoinComma, "、"),
    T(kJoinAnd, "、"),
    T(kJoinOr, " または "),
    T(kDidYouMean, "（{1} のことですか？）"),

    T(kSeeHelp, "{1}（'qorcfg --help' を参照）"),
    T(kUnknownOption, "不明なオプション {1}{2}"),
    T(kFileNeedsPath, "--file にはパスが必要です"),
    T(kNoHelpOn, "ヘルプのトピック {1} はありません{2}。トピックは {3} です"),
    T(kTakesNoArguments, "{1} は引数をとりません"),
    T(kCompletionShell, "completion にはシェルを一つ指定します: bash"),
    T(kNoCommand, "コマンドが指定されていません"),
    T(kUnknownCommand, "不明なコマンド {1}{2}"),
    T(kOptionBelongs, "{1} は {2} のオプションです"),
    T(kApplyJsonDryRun, "apply が JSON を出力するのは --dry-run のときだけです"),
    T(kQuietAndVerbose, "-q と -v は同時に指定できません"),
    T(kFilePathNotNameable, "--file の後のパスに、ここではファイルのパスに使えない文字があります"),
    T(kArgumentPathNotNameable, "ファイルのパスに、ここではファイルのパスに使えない文字があります"),
    T(kUsageFirst, "使い方: qorcfg {1}\n"),
    T(kUsageMore, "        qorcfg {1}\n"),
    T(kSeeAddresses, "アドレスとリスト: 'qorcfg help addresses' を参照してください。\n"),
    T(kSetNeedsPairs, "set にはフィールドと値（または複数の組）が必要です"),
    T(kListTakesOne, "list にはリストを一つ指定します"),
    T(kExportArguments, "export にはリストと、ファイルを一つまで指定します"),
    T(kImportArguments, "import にはリストとファイル一つ（または -）が必要です"),
    T(kNeedsList, "{1} にはリストが必要です: denied、allowed または connect"),
    T(kNeedsAddress, "{1} にはアドレスが一つ以上必要です"),
    T(kApplyNeedsFile, "apply にはファイル一つ（標準入力なら -）が必要です"),
    T(kDiffArguments, "diff に指定できるファイルは一つまでです"),

    T(kUsageHead,
      "使い方: qorcfg [--file PATH] [-q|-v] COMMAND [ARGUMENTS]\n"
      "\n"
      "ゲームの設定ファイルを、設定ウィンドウと同じように読み書きします。ファイルは\n"
      "カレントディレクトリの下の Data/GameConfig.dat、または PATH です。\n"
      "\n"
      "コマンド:\n"),
    T(kUsageTail,
      "\n"
      "LIST は denied（拒否IP）、allowed（許可IP）、connect（接続先IP）のどれかです。\n"
      "変更に成功すると、変更した内容を標準エラー出力に 1 行で表示します（標準出力\n"
      "にはデータだけを出力します）。-q はその行と注意を表示しません（エラーは表示\n"
      "します）。-v は、リストの行のうち書かれたとおりには取り込まなかった行ごとに\n"
      "注意を表示します。\n"
      "\n"
      "終了ステータス: 0 成功（check: 指摘なし、diff: 違いなし）。1 入力を拒否し、\n"
      "何も変更していない（範囲外の値、長すぎるテキスト、不正なアドレス、不明な\n"
      "フィールドやリスト、値の誤ったドキュメント）、または check の指摘や diff の\n"
      "違いがある。2 問題あり: 解析できないコマンドライン、まったく読み込めない\n"
      "ファイルやドキュメント、失敗した書き込み。75 後でやり直す: 他のプログラムが\n"
      "ファイルを保存中か使用中、または変更し続けていて、何も変更していない。\n"
      "\n"
      "'qorcfg help COMMAND' で各コマンドの説明を、'qorcfg help addresses' で\n"
      "アドレスの規則を、'qorcfg help fields' で set が受け付けるすべてのフィールド\n"
      "を表示します。\n"),
    T(kAddressRules,
      "アドレスは a.b.c.d の形で、各部分は 0 から 255 です（先頭の 0 も可）。拒否IP\n"
      "と許可IP のリストでは、任意の値に一致する部分として「*」、プレフィックス\n"
      "a.b.c.d/N（N は 0 から 32）、範囲 a.b.c.d-a.b.c.e も使え、それぞれリストの\n"
      "パターンに過不足なく展開されます。/24 /16 /8 /0 は部分全体を任意にし\n"
      "（10.1.0.0/16 は 10.1.*.*）、1.10.16.0/20 は 1.10.16.* から 1.10.31.* までの\n"
      "16 個のパターンに、/24 より長いプレフィックスは個々のアドレスになります。\n"
      "接続先IP のリストには単独のアドレス（または /32）を {1} 件まで登録でき、\n"
      "0.0.0.0 は登録できません。拒否IP と許可IP のリストには {2} 件まで登録できます。\n"
      "登録済みのアドレスを追加しても、そのアドレスは除外されます。\n"
      "\n例:\n  qorcfg add denied 10.0.0.0/8 192.168.*.1 1.10.16.0/20\n"
      "  qorcfg add denied 203.0.113.10-203.0.113.20\n"),
    T(kFieldsHead,
      "show が表示し、set が受け付け、diff が示すフィールドです。show --json と apply\n"
      "の JSON での位置、内容、値を示します:\n\n"),
    T(kFieldsLists, "\nadd、remove、import、export、apply で変更するリスト:\n\n"),
    T(kFieldsExamples, "\n例:\n  qorcfg set story_difficulty Hard\n  qorcfg set player1.attack \"KEY 5\"\n"),
    T(kSummaryShow, "全フィールドを set の名前か JSON で表示"),
    T(kSummaryCheck, "ツールがファイルをどう扱うかを表示"),
    T(kSummaryList, "リストのアドレスを 1 行に一つずつ表示"),
    T(kSummaryAdd, "リストにアドレスを追加"),
    T(kSummaryRemove, "リストからアドレスを削除"),
    T(kSummaryImport, "テキストファイルのアドレスをリストに追加"),
    T(kSummaryExport, "リストを import で読めるテキストで書き出す"),
    T(kSummarySet, "show が表示する名前でフィールドを設定"),
    T(kSummaryApply, "show --json のドキュメントの値をすべて設定"),
    T(kSummaryDiff, "バックアップ、別ファイルやドキュメントと比較"),
    T(kSummaryInit, "初期設定のファイルを作成"),
    T(kSummaryRestore, "バックアップ（ファイル名 + .bak）を戻す"),
    T(kSummaryVersion, "リリースのバージョンを表示"),
    T(kSummaryCompletion, "bash の補完スクリプトを表示"),
    T(kHelpShow,
      "すべての値を 'qorcfg set' が受け付ける名前で、意味を添えて表示します。\n"
      "オプション、接続先IP の ID、allowed_only、各プレイヤーの操作方法とボタン\n"
      "（キースロットは操作の名前で player1.attack、これは player1.key_map.3 とも\n"
      "書けます）、八つのファンクションメッセージとその送信先、続いて三つのアドレス\n"
      "のリストとファイルの情報です。--json は同じ内容を UTF-8 の一つの JSON\n"
      "オブジェクトで表示します。'qorcfg apply' はそれを読み込めます。\n"
      "\n例:\n  qorcfg show\n  qorcfg show --json > settings.json\n"),
    T(kHelpCheck,
      "ファイルをツールと同じように読み込み、ツールがそのファイルをどう扱うかを\n"
      "表示します: 次の保存で新しい形に変わる古いバージョン、構成より短いまたは長い\n"
      "ファイル、範囲外の値とウィンドウの次の保存での書き込み方、NUL のないテキスト、\n"
      "重複した項目など。終了ステータスは、指摘がなければ 0、あれば 1、ファイルが\n"
      "ない、読み込めない、または新しいバージョンのときは 2 です。\n"
      "--json は {\"file\", \"version\", \"size\", \"findings\": [...]} を表示します。\n"
      "\n例:\n  qorcfg check\n  qorcfg check --json\n"),
    T(kHelpList,
      "リストのアドレスを、保存されている順に 1 行に一つずつ表示します。--json は\n"
      "文字列の JSON 配列で表示します。\n"
      "\n例:\n  qorcfg list denied\n  qorcfg list connect --json\n"),
    T(kHelpAdd,
      "アドレスをリストの末尾に追加して保存します。不正なアドレスが一つでもあれば\n"
      "何も変更せず、不正なものをすべて示します。登録済みのアドレスは除外し、その\n"
      "数を表示します。\n"
      "\n例:\n  qorcfg add denied 203.0.113.7 198.51.100.0/24\n  qorcfg add connect 192.168.0.10\n"),
    T(kHelpRemove,
      "どれかのアドレスと等しい項目をすべて削除して保存します。登録されていない\n"
      "アドレスには注意を表示します。不正なアドレスが一つでもあれば何も変更しません。\n"
      "\n例:\n  qorcfg remove denied 203.0.113.7\n  qorcfg remove allowed 10.*.*.*\n"),
    T(kHelpImport,
      "FILE（標準入力なら -）から、1 行に一つのアドレス、プレフィックスまたは範囲を\n"
      "読み込みます。文字コードは UTF-8、またはバイトオーダーマーク付きの UTF-16\n"
      "です。空の行と、「#」や「;」の後のテキストは無視します。アドレスをリストの\n"
      "末尾に追加するか、--replace ならそれをリスト全体にして、保存します。不正な\n"
      "行が一つでもあれば何も変更せず、不正な行をすべて行番号で示します。そうで\n"
      "なければ、追加した内容を 1 行にまとめて表示します。-v では、複数の項目に\n"
      "なったプレフィックスや範囲と、登録済みのアドレスごとにも注意を表示します。\n"
      "\n例:\n  qorcfg import denied blocklist.txt\n  qorcfg import allowed friends.txt --replace\n"),
    T(kHelpExport,
      "リストのアドレスを 1 行に一つずつ、import が読むとおりの形で FILE または\n"
      "標準出力に書き出します。\n"
      "\n例:\n  qorcfg export denied bans.txt\n  qorcfg export allowed -\n"),
    T(kHelpSet,
      "一つ以上のフィールドを 1 回の保存で設定します。FIELD は show が表示する名前\n"
      "（screen_size、full_screen、bgm_volume、allowed_only、id、\n"
      "player1.input_method、player1.attack または player1.key_map.3、F1.text、\n"
      "F1.target など。大文字と小文字、- と _ は区別しません）です。VALUE は保存\n"
      "される数値か、show がその横に表示する意味（1024x768、on、keyboard、own team、\n"
      "KEY 4、\"slider at 8400 of 10000\"、日本語の表示なら 1024×768、ON、キーボード、\n"
      "チーム、スライダー8400/10000）です。ON/OFF のフィールドは yes/no/true/false\n"
      "も大文字小文字を問わず受け付けます。テキストは CP932 で 15 バイト（id）または\n"
      "40 バイト（メッセージ）までで、長いものは切り詰めずに拒否します。ほかの\n"
      "スロットが持つボタンをキースロットに指定すると、ウィンドウと同じように二つを\n"
      "入れ替えます。範囲外の値は、取りうる値を示して拒否し、何も変更しません。\n"
      "'qorcfg help fields' で、すべてのフィールドとその内容、値を表示します。\n"
      "\n例:\n  qorcfg set screen_size 1024x768 full_screen off\n"
      "  qorcfg set allowed_only yes id host01\n  qorcfg set player1.attack \"KEY 5\"\n"
      "  qorcfg set F1.text \"Good game\" F1.target team\n"),
    T(kHelpApply,
      "show --json が表示する形の JSON ドキュメント（全体または一部）を読み込み、\n"
      "ファイルをその内容にします: 各オプション、allowed_only、ID、リスト（指定した\n"
      "リストはそれがリスト全体になります）、操作方法とキーの割り当て、メッセージの\n"
      "テキストと送信先です。{\"value\", \"meaning\"} の組はどちらか一方でもよく、両方\n"
      "指定するときは一致している必要があります。ON/OFF の値は true と false も受け\n"
      "付けます。\"file\"、\"size\"、\"version\"、\"keys\"、\"opaque_records\"、\n"
      "\"opaque_words\" はファイルの情報で、適用しません。誤りは行と桁、JSON のパス\n"
      "で示し、何も変更しません。何も変えないドキュメントでは何も保存しません。\n"
      "--dry-run では、変わる内容を diff と同じ形で表示し、何も変更しません。\n"
      "\n例:\n  qorcfg show --json > pc01.json; qorcfg apply pc01.json\n"
      "  echo '{\"denied\": [\"10.0.0.0/8\"]}' | qorcfg apply --dry-run -\n"),
    T(kHelpDiff,
      "ファイルをフィールドごとに FILE（別の設定ファイル、または show --json が表示\n"
      "する形の JSON ドキュメント）と比べます。FILE を指定しないときはバックアップ\n"
      "（ファイル名 + .bak）と比べます。ドキュメントとは、'qorcfg apply FILE' の後の\n"
      "ファイルとして比べます。違うフィールドごとに \"FIELD: OTHER -> THIS\"、リストの\n"
      "項目ごとに \"LIST: + ADDRESS\"（このファイルだけにある）または\n"
      "\"LIST: - ADDRESS\"（相手だけにある）を 1 行ずつ表示します。終了ステータスは、\n"
      "同じなら 0、違えば 1、どちらかを読み込めなければ 2 です。--json は\n"
      "{\"same\": bool, \"fields\": [{\"field\", \"other\", \"this\"}], \"lists\": {...}}\n"
      "を表示します。\n"
      "\n例:\n  qorcfg diff\n  qorcfg diff pc01.json\n  qorcfg diff other-pc/GameConfig.dat --json\n"),
    T(kHelpInit,
      "ウィンドウがないファイルを作成するときと同じように、初期設定のファイルを書き\n"
      "込みます。ファイルが既にあるときは拒否します（終了ステータス 1）。--force を\n"
      "指定すると置き換え、元のファイルをバックアップ（ファイル名 + .bak）として\n"
      "残します。\n"
      "\n例:\n  qorcfg init\n  qorcfg init --force\n"),
    T(kHelpRestore,
      "保存のたびに残るバックアップ（ファイル名 + .bak）を、保存と同じ安全な手順で\n"
      "ファイルに戻します（ウィンドウの「前回の保存前に戻す」と同じです）。置き換えた\n"
      "ファイルが新しいバックアップになるので、もう一度 restore すると最初の restore\n"
      "を取り消せます。バックアップがないか、ツールが読める設定でないときは、何も\n"
      "変更せずに終了ステータス 2 で終わります。\n"
      "\n例:\n  qorcfg restore\n"),
    T(kHelpVersion, "\"qorcfg VERSION\" を表示します。--version、-V と同じです。\n\n例:\n  qorcfg version\n"),
    T(kHelpCompletion,
      "コマンド表から作った bash 用の補完スクリプトを表示します。コマンド、\n"
      "オプション、リスト名、ファイルを指定する位置でのファイル名、フィールド名、\n"
      "フィールドの後ではその値を補完します。\n"
      "\n例:\n  source <(qorcfg completion bash)\n"),

    T(kRowScreenSize, "ゲームのウィンドウまたは画面の大きさ"),
    T(kRowFullScreen, "ゲームを画面全体に表示する"),
    T(kRowFps60, "フレームレート"),
    T(kRowBarrier, "ステージバリアを表示する範囲"),
    T(kRowReduceLoad, "性能の低いパソコン向けに描画を軽くする"),
    T(kRowScreenShake, "キャラクターが攻撃を受けると画面が揺れる"),
    T(kRowExtraOption, "どのページにもなし・そのまま保持"),
    T(kRowBgmVolume, "音楽（BGM）の音量"),
    T(kRowSeVolume, "効果音（SE）の音量"),
    T(kRowVoiceVolume, "ボイス（VOICE）の音量"),
    T(kRowDifficulty, "ストーリーモードの難しさ"),
    T(kRowMovie, "ゲームのムービーを再生する"),
    T(kRowInactive, "ウィンドウが非アクティブのときもゲームが動き続ける"),
    T(kRowLoading, "読み込み画面に表示する絵"),
    T(kRowId, "接続するときにゲームが送る ID"),
    T(kRowConnect, "接続先のアドレス"),
    T(kRowAllowedOnly, "許可IP のアドレスからしか接続できなくする"),
    T(kRowAllowed, "allowed_only が on のときに接続できるアドレス"),
    T(kRowDenied, "接続を拒否するアドレス"),
    T(kRowInputMethod, "{1}P の操作方法: キーボードかジョイパッド"),
    T(kRowKeySlot, "{1}P の「{3}」（{2}）のボタン"),
    T(kRowKeySlotOnNoPage, "{1}P のキースロット {2}: {3}"),
    T(kRowMessageText, "F{1} で送るチャットのメッセージ"),
    T(kRowMessageTarget, "F{1} のメッセージの送信先"),
    T(kSlotOnNoPage, "どのページにもなし・割り当てのまま保持"),

    T(kCaptionScreenSize, "画面サイズ"),
    T(kCaptionFullScreen, "フルスクリーン"),
    T(kCaptionFps, "FPS"),
    T(kCaptionBarrier, "ステージバリア"),
    T(kCaptionReduceLoad, "負荷を軽減"),
    T(kCaptionScreenShake, "画面振動"),
    T(kCaptionBgmVolume, "音量: BGM"),
    T(kCaptionSeVolume, "音量: SE"),
    T(kCaptionVoiceVolume, "音量: VOICE"),
    T(kCaptionDifficulty, "ストーリー難度"),
    T(kCaptionMovie, "ムービー再生"),
    T(kCaptionInactive, "非アクティブ動作"),
    T(kCaptionLoading, "ローディングイラスト"),
    T(kCaptionId, "接続先IP: ID"),
    T(kCaptionAllowedOnly, "許可IP: 接続許可IPを使用する"),
    T(kCaptionInputMethod, "キーコンフィグ: 操作方法（{1}）"),
    T(kCaptionMessageText, "ファンクションメッセージ: {1}"),
    T(kCaptionMessageTarget, "ファンクションメッセージ: {1} 送信先"),

    T(kListConnect, "接続先IP"),
    T(kListAllowed, "許可IP"),
    T(kListDenied, "拒否IP"),

    T(kMeaningOff, "OFF"),
    T(kMeaningOn, "ON"),
    T(kMeaningJoypad, "ジョイパッド"),
    T(kMeaningKeyboard, "キーボード"),
    T(kMeaningEveryone, "全体"),
    T(kMeaningOwnTeam, "チーム"),
    T(kMeaning640, "640×480"),
    T(kMeaning800, "800×600"),
    T(kMeaning1024, "1024×768"),
    T(kMeaningFps60, "60FPS"),
    T(kMeaningFps30, "30FPS"),
    T(kMeaningNearby, "キャラ周囲"),
    T(kMeaningAlways, "常時表示"),
    T(kMeaningEasy, "Easy"),
    T(kMeaningNormal, "Normal"),
    T(kMeaningHard, "Hard"),
    T(kMeaningNightmare, "Nightmare"),
    T(kMeaningLoadingDefault, "デフォルト"),
    T(kMeaningLoadingPictures, "イラスト"),
    T(kMeaningLoadingAll, "全部"),
    T(kMeaningSlider, "スライダー{1}/10000"),
    T(kMeaningCarried, "どのページにもなし・そのまま保持"),

    T(kSetText, "ファイルの日本語コードページ（CP932）で {1} バイトまでの、制御文字を含まないテキスト"),
    T(kSetKeySlot, "ジョイパッドのボタン: 0 から 11、または KEY 1 から KEY 12"),
    T(kSetVolume, "-10000（最小）から 0（最大）、または「スライダーN/10000」（N は 0 から 10000）"),
    T(kSetCarried, "-2147483648 から 2147483647 までの整数"),
    T(kSetChoices, "{1}"),
    T(kSetAlsoOnOff, "（on/off、yes/no、true/false も可）"),
    T(kValueIsNot, "{1} は {2} です。「{3}」は指定できません"),
    T(kValueIsNotNumber, "{1} は {2} です。{3} は指定できません"),
    T(kValueIs, "{1} は {2} です"),
    T(kValueNotCp932, "{1} には、ファイルの日本語コードページ（CP932）で表せるテキストを指定してください"),
    T(kValueNoControl, "{1} には制御文字を使えません"),
    T(kValueTooLong, "{1} は CP932 で {2} バイトあり、上限の {3} バイトを超えています"),

    T(kReadError, "読み込みエラー"),
    T(kProblemFolder, "ファイルではなくフォルダがあります"),
    T(kProblemDevice, "ファイルではなくデバイスです"),
    T(kProblemPipe, "ファイルではなくパイプです"),
    T(kProblemNoFolder, "フォルダがありません"),
    T(kProblemNoSpace, "ディスクがいっぱいです"),
    T(kProblemReadOnlyFile, "ファイルが読み取り専用です"),
    T(kProblemReadOnlyFileSystem, "ファイルシステムが読み取り専用です"),
    T(kProblemDenied, "アクセスが許可されていません"),
    T(kProblemHeld, "他のプログラムが使用中です"),
    T(kProblemBusy, "他のプログラムが保存中です"),
    T(kProblemNoMemory, "メモリが足りません"),
    T(kErrorNoEntry, "ファイルまたはフォルダがありません"),
    T(kErrorAccess, "アクセスが拒否されました"),
    T(kErrorPermission, "操作が許可されていません"),
    T(kErrorIsFolder, "フォルダです"),
    T(kErrorNotFolder, "フォルダではありません"),
    T(kErrorNoSpace, "ディスクに空き領域がありません"),
    T(kErrorQuota, "ディスクの割り当て容量を超えました"),
    T(kErrorReadOnlyFileSystem, "読み取り専用のファイルシステムです"),
    T(kErrorIo, "入出力エラーです"),
    T(kErrorBusy, "デバイスまたはリソースが使用中です"),
    T(kErrorTextBusy, "実行中のプログラムのファイルです"),
    T(kErrorNameTooLong, "ファイル名が長すぎます"),
    T(kErrorLoop, "シンボリックリンクの階層が多すぎます"),
    T(kErrorTooManyOpen, "開いているファイルが多すぎます"),
    T(kErrorNoMemory, "メモリを確保できません"),
    T(kErrorTooLarge, "ファイルが大きすぎます"),
    T(kErrorInvalid, "引数が無効です"),

    T(kNothingChanged, "何も変更していません"),
    T(kNothingChangedAfter, "{1}。何も変更していません"),
    T(kNothingToSaveAfter, "{1}。保存する変更はありません"),
    T(kSavedAfter, "{1}。保存しました"),
    T(kThenOutcome, "{1}。{2}"),
    T(kNothingRead, "{1}。何も読み込んでいません"),
    T(kNoFolderNothingChanged, "フォルダがありません。何も変更していません"),
    T(kNoSuchFileWouldCreate, "ファイルがありません（ツールなら初期設定の内容で作成します）"),
    T(kStartingFromDefaults, "{1}: ファイルがありません。ツールと同じく、新しいファイルの初期設定から始めます"),
    T(kCannotBeRead, "読み込めません: {1}"),
    T(kCannotBeReadNamed, "{1}: 読み込めません: {2}"),
    T(kCannotBeWritten, "{1}: 書き込めません: {2}"),
    T(kHeldNotSaved, "他のプログラムが使用中です。保存せず、何も変更していません"),
    T(kHeldCannotReadNow, "他のプログラムが使用中のため、今は読み込めません"),
    T(kTooShortForVersion,
      "短すぎてバージョンを含んでいません（{1} バイト）。ツールなら初期設定で置き換えますが、qorcfg はそのまま"
      "にします"),
    T(kStartsWithText, "設定ファイルではありません（テキストで始まっています）。そのままにします"),
    T(kNewerVersion, "バージョン {1} は {2} より新しいファイルです。ツールは受け付けないため、そのままにします"),
    T(kNewerVersionDoubtful,
      "バージョン {1} は {2} より新しく、そもそも設定ファイルではないかもしれません。ツールは受け付けないため、"
      "そのままにします"),
    T(kNoMemoryToRead, "読み込むためのメモリが足りません"),
    T(kLockFileDenied, "ロックファイル {1} を開けません（アクセスが許可されていません）"),
    T(kNoLockHere, "このファイルシステムではロックできません"),
    T(kSavedWithoutLock,
      "二つのプログラムが同時に保存しないためのロックなしで保存しました: {1}。同じ瞬間に他のプログラムが保存"
      "していたら、その保存は失われたおそれがあります"),
    T(kBackupHeld,
      "{1}: 他のプログラムが使用中のため更新できませんでした。今回の保存で置き換えたファイルではなく、それより"
      "前の保存の前のファイルのままです"),
    T(kBackupNotKept, "{1}: {2}。今回の保存で置き換えたファイルのバックアップを残せませんでした"),
    T(kNotFlushed,
      "保存しましたが、フォルダがディスクに書き込まれたことを確認できませんでした。停電などがあると、今回の変更"
      "が失われるおそれがあります。ファイルとバックアップはそろっており、もう一度コマンドを実行しても問題ありま"
      "せん"),
    T(kNotFlushedBecause,
      "保存しましたが、フォルダがディスクに書き込まれたことを確認できませんでした（{1}）。停電などがあると、今回"
      "の変更が失われるおそれがあります。ファイルとバックアップはそろっており、もう一度コマンドを実行しても問題"
      "ありません"),
    T(kSaveBusy,
      "他のプログラム（qorcfg または設定ウィンドウ）が保存中で、{1} 秒たっても終わりませんでした。何も変更して"
      "いません。もう一度実行してください"),
    T(kMayNotWrite, "書き込みが許可されていません"),
    T(kNotSavedNothingChanged, "{1}。保存せず、何も変更していません"),
    T(kNotSaved, "保存できませんでした。ファイルは元のままです"),
    T(kNotSavedBecause, "保存できませんでした（{1}）。ファイルは元のままです"),
    T(kAlreadyHoldsSettings, "{1}: ファイルに保存される形で既にこの設定です。保存する変更はありません"),
    T(kChangedAgain,
      "保存する前に他のプログラムがまた変更しました。保存せず、他のプログラムの変更を残します（もう一度コマンド"
      "を実行してください）"),
    T(kChangedReadingAgain, "{1}: 読み込んだ後に他のプログラムが変更しました。読み込み直します"),
    T(kOutputNotWritten, "出力を書き込めませんでした: {1}"),

    T(kIsConfigurationFile, "{1}: 設定ファイルです。アドレスのテキストファイルではありません。何も変更していません"),
    T(kIsConfigurationBackup,
      "{1}: 設定のバックアップです。アドレスのテキストファイルではありません。何も変更していません"),
    T(kNoSuchList, "リスト {1} はありません{2}。リストは denied、allowed、connect です。何も変更していません"),
    T(kProblemNothingChanged, "{1}: {2}。何も変更していません"),
    T(kPipeNothingChanged, "{1}: {2}（- を指定して標準入力に送ってください）。何も変更していません"),
    T(kArgumentNumber, "引数 {1}"),
    T(kBecameEntries, "{1}: 「{2}」は {3} 件になりました"),
    T(kWouldTakeEntry, "{1}: 1 件が必要ですが、{2} のリストにはあと {3} 件しか入りません"),
    T(kWouldTakeEntries, "{1}: {2} 件が必要ですが、{3} のリストにはあと {4} 件しか入りません"),
    T(kWouldHold, "{1} のリストが {2} 件になり、上限の {3} 件を超えます。何も変更していません"),
    T(kReplacedBy, "{1}: {2} 件に置き換え"),
    T(kReplacedByDropped, "{1}: {2} 件に置き換え（重複した {3} 件は除外）"),
    T(kAlreadyHoldsEntries, "{1}: 既にこの {2} 件です。保存する変更はありません"),
    T(kAddedCounts, "{1}: {2} 件追加、{3} 件は登録済み"),
    T(kExpandedLine, "{1}（1 行が複数の項目になりました）"),
    T(kExpandedLines, "{1}（{2} 行が複数の項目になりました）"),
    T(kAlreadyListedInFile, "{1}: {2} はファイルに登録済みです。除外します"),
    T(kAlreadyListedAt, "{1}: {2} は {3} と重複しています。除外します"),
    T(kNoAddressGiven, "{1}: 「{2}」: アドレスがありません"),
    T(kNotInList, "{1}: {2} は {3} のリストにありません"),
    T(kRemovedCounts, "{1}: {2} 件削除、{3} 件は未登録"),

    T(kRangeForm, "範囲は a.b.c.d-a.b.c.e の形の、数字だけの二つのアドレスです"),
    T(kRangeBackwards, "範囲の最初のアドレスが最後のアドレスより後です"),
    T(kConnectNoRange, "接続先IP のリストには単独のアドレスしか登録できません（範囲は不可）"),
    T(kEmptySlot, "0.0.0.0 は空き枠を表すため登録できません"),
    T(kFourParts, "a.b.c.d の四つの部分が必要です"),
    T(kPrefixNumber, "プレフィックス長は 0 から 32 までの数字で指定してください"),
    T(kPrefixTooLong, "プレフィックス /{1} は /32 を超えています"),
    T(kConnectNoPrefix, "接続先IP のリストには単独のアドレスしか登録できません（/32 以外のプレフィックスは不可）"),
    T(kPartNotNumber, "{1} 番目の部分「{2}」が 0 から 255 までの数字ではありません"),
    T(kPartInsidePrefix, "{1} 番目の部分「{2}」は /{3} プレフィックスで任意となる部分にあるため、0 にしてください"),
    T(kBitsPastPrefix, "アドレスの /{1} プレフィックスより後のビットが 0 ではありません（ネットワークは {2}/{1}）"),
    T(kConnectNoWildcard, "接続先IP のリストには「*」を使えません"),
    T(kPrefixAndWildcard, "プレフィックスと「*」は同時に使えません"),
    T(kNotAnAddress, "アドレスではありません"),

    T(kTakesButton, "（{1} は {2} に入れ替え）"),
    T(kSetNoField, "set にフィールド {1} はありません{2}。一覧は 'qorcfg help fields' で表示します。何も変更していません"),
    T(kSetAlreadyHolds, "set: どのフィールドも既にその値です。保存する変更はありません"),
    T(kSetSaved, "set: {1}。保存しました"),
    T(kNoValueChanged, "変わった値はありません"),
    T(kInitExists, "既にあります。何も変更していません（'qorcfg init --force' で置き換え、元のファイルはバックアップとして残ります）"),
    T(kInitDone, "init: {1} を初期設定にしました"),
    T(kInitDoneReplaced, "init: {1} を初期設定にしました。置き換えたファイルはバックアップ {2} です"),
    T(kRestoredAsItStands, "{1} をそのまま戻しました: {2}"),
    T(kRestored, "restore: {1} をファイルに戻しました。置き換えたファイルがバックアップになります"),
    T(kNoBackupToRestore, "{1}: 戻すバックアップがありません。何も変更していません"),
    T(kBackupUnreadable, "{1}: バックアップを読み込めません。何も変更していません"),
    T(kBackupUnusable,
      "{1}: バックアップは、ツールがそのまま読める設定ではありません（そのバージョンの構成より短い、バージョンを"
      "含まないほど短い、または新しいバージョン）。何も変更していません"),
    T(kRestoreBusy, "他のプログラム（qorcfg または設定ウィンドウ）が保存中です。何も変更していません。もう一度実行してください"),
    T(kNotRestored, "戻せませんでした。ファイルとバックアップは元のままです"),
    T(kNotRestoredBecause, "戻せませんでした（{1}）。ファイルとバックアップは元のままです"),

    T(kApplyAlreadyHolds, "apply: ファイルは既に {1} のとおりです。保存する変更はありません"),
    T(kApplySaved, "apply: {1}。保存しました"),
    T(kNoBackupToCompare, "{1}: 比べるバックアップがありません"),
    T(kNoSuchFile, "{1}: ファイルがありません"),
    T(kNoConfigurationNorJson,
      "{1}: ツールが読める設定ではなく（短すぎる、新しいバージョン、またはテキスト）、JSON ドキュメントでもあり"
      "ません"),
    T(kNothingCompared, "何も比べていません"),
    T(kDiffReordered, "{1}: 同じ項目で、順序（または登録の回数）が違います"),
    T(kDiffRecords, "{1}: {2} -> {3} 件のレコード（内容が違います）"),
    T(kSummaryChanged, "{1} を変更"),
    T(kSummaryMore, "{1} ほか {2} 件"),
    T(kSummaryListCounts, "{1}: {2} 件削除、{3} 件追加"),
    T(kSummaryReordered, "{1}: 順序を変更"),

    T(kOutsideKept, "（範囲外の値。ウィンドウはそのまま残します）"),
    T(kOutsideSaved, "（範囲外の値。ウィンドウから保存すると {1} になります）"),
    T(kShowFile, "ファイル: {1}（{2} バイト）"),
    T(kShowVersion, "バージョン: {1}"),
    T(kShowOpaqueRecords, "未解釈レコード: {1} 件（{2} バイト）"),
    T(kShowOpaqueWords, "未解釈ワード: {1}、{2}"),
    T(kShowList, "{1}（{2} 件）:"),
    T(kShowListOf, "{1}（{2}/{3} 件）:"),
    T(kShowKeySlot, "key_map.{1}、{2}（{3}）"),
    T(kCheckHead, "{1}: バージョン {2}、{3} バイト"),
    T(kNoFindings, "指摘なし"),
    T(kFindingCount, "指摘 {1} 件"),
    T(kFindingOlder, "バージョン {1} は {2} より古いファイルです。次の保存でバージョン {2} になります（追加される項目: {3}）"),
    T(kFindingShort,
      "ファイルは {1} バイトで、構成に必要な {3} バイトに {2} バイト足りません。{4} 以降の足りないバイトは 0 と"
      "して読み、次の保存でも 0 を書き込みます"),
    T(kFindingLong, "構成の終わりの後に {1} バイトあります。読み込まれず、次の保存で削除されます"),
    T(kFindingOutsideKept, "{1} が {2} で、範囲外の値です。ウィンドウは {3} と表示し、値はそのまま残します"),
    T(kFindingOutsideSaved, "{1} が {2} で、範囲外の値です。ウィンドウは {3} と表示し、次の保存で {4} を書き込みます"),
    T(kFindingIdLineBreak,
      "接続先IP の ID の先頭 {1} バイトの後に改行があります。ウィンドウは「{2}」と表示し、次の保存では改行と"
      "その後を除いた「{3}」を書き込みます"),
    T(kFindingIdNoNul,
      "接続先IP の ID の {1} バイトに NUL がありません。ウィンドウは {1} バイトすべてを表示し、次の保存では先頭"
      " {2} バイトまでを残します"),
    T(kFindingIdLong, "接続先IP の ID が {1} バイトあります。ウィンドウの次の保存では先頭 {2} バイトまでを残します"),
    T(kFindingMessageNoNul,
      "ファンクションメッセージ {1} の {2} バイトに NUL がありません。ウィンドウは先頭 {3} バイトまでを表示し、"
      "次の保存ではそこで終わらせます"),
    T(kFindingTarget,
      "ファンクションメッセージ {1} の送信先が {2} です。ウィンドウは「チーム」と表示し、次の保存で 1 を書き込み"
      "ます"),
    T(kFindingConnectGaps,
      "接続先IP の表で、使用中の枠の前に空き枠があります。ウィンドウの次の保存で {1} 件のアドレスを先頭の枠に"
      "詰めます"),
    T(kFindingAbove256,
      "{1} のリストに、256 を超える数を含む項目が {2} 件あります。「*」と表示され、ウィンドウの次の保存で 256 "
      "になります"),
    T(kFindingDuplicates, "{1} のリストに重複した項目が {2} 件あります（最初: {3}）"),
    T(kFindingOpaque,
      "ファイルに未解釈レコードが {1} 件あり、ファイル形式が想定する {2} 件を超えています。そのまま引き継ぎます"),

    T(kItemVersion, "バージョン"),
    T(kItemOptionBlock, "オプション部"),
    T(kItemConnectId, "接続先IP の ID"),
    T(kItemConnectAddresses, "接続先IP のアドレス"),
    T(kItemOpaqueWord1, "未解釈ワード 1"),
    T(kItemAllowedOnly, "「接続許可IPを使用する」の値"),
    T(kItemAllowed, "許可IP のアドレス"),
    T(kItemDenied, "拒否IP のアドレス"),
    T(kItemOpaqueRecords, "未解釈レコード"),
    T(kItemOpaqueWord2, "未解釈ワード 2"),
    T(kItemMessages, "ファンクションメッセージ"),
    T(kItemAllowedCount, "許可IP の件数"),
    T(kItemDeniedCount, "拒否IP の件数"),
    T(kItemRecordCount, "未解釈レコードの件数"),
    T(kMissingAllowedOnly, "「接続許可IPを使用する」は OFF"),
    T(kMissingAllowed, "許可IP は空"),
    T(kMissingDenied, "拒否IP は空"),
    T(kMissingRecords, "未解釈レコードなし"),
    T(kMissingOpaqueWord2, "未解釈ワード 2 は 0"),
    T(kMissingMessages, "ファンクションメッセージは空"),

    T(kJsonEmpty, "JSON ドキュメントが必要です。テキストが空です"),
    T(kJsonNotSingular, "ドキュメントの後には空白しか置けません"),
    T(kJsonValue, "値が必要です: オブジェクト、配列、文字列、数値、true、false または null"),
    T(kJsonMemberName, "ダブルクォートで囲んだメンバー名が必要です"),
    T(kJsonColon, "メンバー名の後に \":\" が必要です"),
    T(kJsonCommaOrBrace, "メンバーの後に \",\" か \"}\" が必要です"),
    T(kJsonCommaOrBracket, "要素の後に \",\" か \"]\" が必要です"),
    T(kJsonHex, "\\u の後に 16 進数 4 桁が必要です"),
    T(kJsonSurrogate, "サロゲートペアの前半の後に後半（\\uDC00 から \\uDFFF）が必要です"),
    T(kJsonEscape, "エスケープ \\\" \\\\ \\/ \\b \\f \\n \\r \\t または \\uXXXX が必要です"),
    T(kJsonQuotationMark, "文字列を閉じるダブルクォートが必要です"),
    T(kJsonUtf8, "UTF-8 のテキストが必要です"),
    T(kJsonNumberTooBig, "double で表せる数値が必要です"),
    T(kJsonFraction, "小数点の後に数字が必要です"),
    T(kJsonExponent, "指数に数字が必要です"),
    T(kJsonControl, "文字列の中の制御文字にはエスケープが必要です"),
    T(kJsonAtTheEnd, "{1}。ドキュメントが途中で終わっています"),
    T(kJsonNoJson, "JSON が必要です"),
    T(kTypeNull, "null"),
    T(kTypeBool, "true または false"),
    T(kTypeWhole, "整数"),
    T(kTypeFraction, "小数部または指数のある数値"),
    T(kTypeString, "文字列"),
    T(kTypeObject, "オブジェクト"),
    T(kTypeArray, "配列"),
    T(kExpectedNot, "{1}。{2} は使えません"),
    T(kExpectedObject, "オブジェクトが必要です"),
    T(kExpectedArray, "配列が必要です"),
    T(kExpectedArrayOf, "要素 {1} 個の配列が必要です"),
    T(kExpectedAddresses, "アドレスの文字列の配列が必要です"),
    T(kExpectedPlayer, "1 か 2 が必要です"),
    T(kExpectedMessageKey, "\"F1\" から \"F8\" が必要です"),
    T(kExpectedString, "文字列が必要です"),
    T(kExpectedOnOffValue, "整数、true、false、または値の意味が必要です"),
    T(kExpectedValue, "整数または値の意味が必要です"),
    T(kExpectedWholeOrString, "整数または文字列が必要です"),
    T(kExpectedWhole, "整数が必要です"),
    T(kExpectedAddress, "アドレスの文字列が必要です"),
    T(kExpectedValueOrMeaning, "\"value\" か \"meaning\" が必要です"),
    T(kExpectedElements, "要素が {1} 個必要です（{2} 個あります）"),
    T(kExpectedAtMost, "要素は {1} 個までです"),
    T(kUnknownMember, "不明なメンバー{1}"),
    T(kMeansNot, "{1} の意味は「{2}」で、「{3}」ではありません。value か meaning の一方だけを指定してください"),
    T(kListedTwiceDropped, "{1} は重複しています。除外します"),
    T(kTooManyForList, "アドレスが {1} 件あり、{3} のリストの上限 {2} 件を超えています"),
};
