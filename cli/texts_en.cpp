// qorcfg's English face: every text of cli/texts.h, one row each, in identifier order.
#include "cli/texts.h"

#define T(id, text) {CliText::id, u8##text}

const CliTextRow english_cli_texts[kCliTextCount] = {
    T(kJoinComma, ", "),
    T(kJoinAnd, " and "),
    T(kJoinOr, " or "),
    T(kDidYouMean, " (did you mean {1}?)"),

    T(kSeeHelp, "{1} (see 'qorcfg --help')"),
    T(kUnknownOption, "unknown option {1}{2}"),
    T(kFileNeedsPath, "--file needs a path"),
    T(kNoHelpOn, "no help on {1}{2}; the topics are {3}"),
    T(kTakesNoArguments, "{1} takes no arguments"),
    T(kCompletionShell, "completion takes one shell: bash"),
    T(kNoCommand, "no command given"),
    T(kUnknownCommand, "unknown command {1}{2}"),
    T(kOptionBelongs, "{1} belongs to {2}"),
    T(kApplyJsonDryRun, "apply prints JSON only with --dry-run"),
    T(kQuietAndVerbose, "-q and -v cannot be given together"),
    T(kFilePathNotNameable, "the path after --file holds a character that cannot be named in a file path here"),
    T(kArgumentPathNotNameable, "the file's path holds a character that cannot be named in a file path here"),
    T(kUsageFirst, "Usage: qorcfg {1}\n"),
    T(kUsageMore, "       qorcfg {1}\n"),
    T(kSeeAddresses, "Addresses and lists: see 'qorcfg help addresses'.\n"),
    T(kSetNeedsPairs, "set needs a field and a value (or several pairs)"),
    T(kListTakesOne, "list takes one list"),
    T(kExportArguments, "export takes a list and at most one file"),
    T(kImportArguments, "import needs a list and one file (or -)"),
    T(kNeedsList, "{1} needs a list: denied, allowed or connect"),
    T(kNeedsAddress, "{1} needs at least one address"),
    T(kApplyNeedsFile, "apply needs one file (or - for standard input)"),
    T(kDiffArguments, "diff takes at most one file"),

    T(kUsageHead,
      "Usage: qorcfg [--file PATH] [-q|-v] COMMAND [ARGUMENTS]\n"
      "\n"
      "Reads and changes the game's configuration file as the configuration window does:\n"
      "Data/GameConfig.dat under the current directory, or PATH.\n"
      "\n"
      "Commands:\n"),
    T(kUsageTail,
      "\n"
      "LIST is denied, allowed or connect. A change that succeeds says what it changed in\n"
      "one line on standard error (standard output holds only data); -q keeps that line\n"
      "and the notes quiet, errors are still said; -v adds a note for each line of a\n"
      "list that was not taken as it stands.\n"
      "\n"
      "Exit status: 0 done (check: no finding; diff: no difference); 1 input refused,\n"
      "nothing changed (a value outside its set, a text too long, a bad address, an\n"
      "unknown field or list, a document with a wrong value), or check's findings and\n"
      "diff's differences; 2 trouble: a command line that cannot be parsed, a file or\n"
      "document that cannot be read at all, a write that failed; 75 try again later:\n"
      "another writer is saving the file, another program holds it or kept changing\n"
      "it, nothing changed.\n"
      "\n"
      "'qorcfg help COMMAND' describes one command; 'qorcfg help addresses' the address\n"
      "rules; 'qorcfg help fields' every field set takes.\n"),
    T(kAddressRules,
      "An address is a.b.c.d, each part 0 to 255 (leading zeros allowed). The denied\n"
      "and allowed lists also take \"*\" for a part that matches any value, any prefix\n"
      "a.b.c.d/N (0 to 32) and any range a.b.c.d-a.b.c.e, each expanded exactly into\n"
      "the list's patterns: /24 /16 /8 /0 leave whole parts open (10.1.0.0/16 is\n"
      "10.1.*.*), 1.10.16.0/20 becomes the 16 patterns 1.10.16.* to 1.10.31.*, and a\n"
      "prefix longer than /24 its single addresses. The connect-to list holds {1} single\n"
      "addresses (or /32) and never 0.0.0.0. The denied and allowed lists hold {2}.\n"
      "Adding an address already listed drops it.\n"
      "\nExamples:\n  qorcfg add denied 10.0.0.0/8 192.168.*.1 1.10.16.0/20\n"
      "  qorcfg add denied 203.0.113.10-203.0.113.20\n"),
    T(kFieldsHead,
      "The fields that show prints, set takes and diff names, with their place in the\n"
      "JSON of show --json and apply, what each is, and its values:\n\n"),
    T(kFieldsLists, "\nThe lists, which add, remove, import, export and apply change:\n\n"),
    T(kFieldsExamples, "\nExamples:\n  qorcfg set story_difficulty Hard\n  qorcfg set player1.attack \"KEY 5\"\n"),
    T(kSummaryShow, "every field by the name set takes, or as JSON"),
    T(kSummaryCheck, "what the tool would do with the file"),
    T(kSummaryList, "the addresses of a list, one per line"),
    T(kSummaryAdd, "adds addresses to a list"),
    T(kSummaryRemove, "removes addresses from a list"),
    T(kSummaryImport, "adds the addresses of a text file to a list"),
    T(kSummaryExport, "writes a list as text that import reads back"),
    T(kSummarySet, "sets fields by the names show prints"),
    T(kSummaryApply, "sets every field a show --json document holds"),
    T(kSummaryDiff, "compares the file with its backup, another file or a document"),
    T(kSummaryInit, "writes a file with the defaults"),
    T(kSummaryRestore, "puts the backup (the file's name + .bak) back"),
    T(kSummaryVersion, "prints the release version"),
    T(kSummaryCompletion, "prints a bash completion script"),
    T(kHelpShow,
      "Prints every value by the name 'qorcfg set' takes, with its meaning beside it:\n"
      "the options, the connect-to ID, allowed_only, each player's input method and\n"
      "buttons (a key slot by its action, player1.attack, which is also\n"
      "player1.key_map.3), the eight chat messages and their targets; then the three\n"
      "address lists and what describes the file. --json prints the same as one JSON\n"
      "object in UTF-8, which 'qorcfg apply' reads back.\n"
      "\nExamples:\n  qorcfg show\n  qorcfg show --json > settings.json\n"),
    T(kHelpCheck,
      "Reads the file as the tool does and says what the tool would do with it: an\n"
      "older version migrated on the next save, a file shorter or longer than its\n"
      "layout, values outside their sets and how the window's next save stores them,\n"
      "texts without a NUL, duplicate entries, and so on. Exit status 0 without\n"
      "findings, 1 with findings, 2 when the file is missing, unreadable or newer.\n"
      "--json prints {\"file\", \"version\", \"size\", \"findings\": [...]}.\n"
      "\nExamples:\n  qorcfg check\n  qorcfg check --json\n"),
    T(kHelpList,
      "Prints the list's addresses, one per line, in stored order; --json prints them\n"
      "as a JSON array of strings.\n"
      "\nExamples:\n  qorcfg list denied\n  qorcfg list connect --json\n"),
    T(kHelpAdd,
      "Adds the addresses at the end of the list and saves. If any address is bad,\n"
      "nothing changes and every bad one is named. Addresses already listed are\n"
      "dropped and counted.\n"
      "\nExamples:\n  qorcfg add denied 203.0.113.7 198.51.100.0/24\n  qorcfg add connect 192.168.0.10\n"),
    T(kHelpRemove,
      "Removes every entry equal to one of the addresses and saves. An address that is\n"
      "not listed is noted. If any address is bad, nothing changes.\n"
      "\nExamples:\n  qorcfg remove denied 203.0.113.7\n  qorcfg remove allowed 10.*.*.*\n"),
    T(kHelpImport,
      "Reads one address, prefix or range per line from FILE (- for standard input),\n"
      "in UTF-8 or, with its byte-order mark, UTF-16; blank lines and text after \"#\"\n"
      "or \";\" are ignored. Adds the addresses at the end of the list, or with\n"
      "--replace makes them the whole list, and saves. If any line is bad, nothing\n"
      "changes and every bad line is named by its number. Otherwise one line sums up\n"
      "what was added; -v also notes each prefix or range that took more than one\n"
      "entry and each address already listed.\n"
      "\nExamples:\n  qorcfg import denied blocklist.txt\n  qorcfg import allowed friends.txt --replace\n"),
    T(kHelpExport,
      "Writes the list's addresses one per line to FILE or standard output, exactly as\n"
      "import reads them.\n"
      "\nExamples:\n  qorcfg export denied bans.txt\n  qorcfg export allowed -\n"),
    T(kHelpSet,
      "Sets one or more fields in one save. A FIELD is named as show prints it\n"
      "(screen_size, full_screen, bgm_volume, allowed_only, id, player1.input_method,\n"
      "player1.attack or player1.key_map.3, F1.text, F1.target, ...; case and - or _\n"
      "do not matter), and a VALUE is the stored number or the meaning show prints\n"
      "beside it (1024x768, on, keyboard, own team, KEY 4, \"slider at 8400 of\n"
      "10000\"). On/off fields also take yes/no/true/false in any case. Texts are at\n"
      "most 15 (id) or 40 (messages) bytes in CP932; a longer one is refused, not cut.\n"
      "A key slot given a button that another slot holds swaps the two, as the window\n"
      "does. A value outside its set is refused, naming the set, and nothing changes.\n"
      "'qorcfg help fields' lists every field, what it is and its values.\n"
      "\nExamples:\n  qorcfg set screen_size 1024x768 full_screen off\n"
      "  qorcfg set allowed_only yes id host01\n  qorcfg set player1.attack \"KEY 5\"\n"
      "  qorcfg set F1.text \"Good game\" F1.target team\n"),
    T(kHelpApply,
      "Reads a JSON document of the shape show --json prints, whole or in part, and\n"
      "makes the file hold what it says: each option, allowed_only, the ID, the lists\n"
      "(each given list becomes the whole list), the input methods and key maps, and\n"
      "the messages' texts and targets. A {\"value\", \"meaning\"} pair may give either;\n"
      "given both, they must agree; an on/off value also takes true and false.\n"
      "\"file\", \"size\", \"version\", \"keys\", \"opaque_records\" and \"opaque_words\"\n"
      "describe the file and are not applied. A mistake is named by its line and\n"
      "column and its JSON path, and nothing changes. A document that changes nothing\n"
      "saves nothing. With --dry-run, prints what would change, as diff prints it, and\n"
      "changes nothing.\n"
      "\nExamples:\n  qorcfg show --json > pc01.json; qorcfg apply pc01.json\n"
      "  echo '{\"denied\": [\"10.0.0.0/8\"]}' | qorcfg apply --dry-run -\n"),
    T(kHelpDiff,
      "Compares the file, field by field, with FILE (another configuration file, or a\n"
      "JSON document of the shape show --json prints), or with its backup (the file's\n"
      "name + .bak) when FILE is not given. A document compares as the file would be\n"
      "after 'qorcfg apply FILE'. Prints one line per differing field as\n"
      "\"FIELD: OTHER -> THIS\", and per list entry \"LIST: + ADDRESS\" (only in this file)\n"
      "or \"LIST: - ADDRESS\" (only in the other). Exit status 0 when they are the same,\n"
      "1 when they differ, 2 when either cannot be read. --json prints\n"
      "{\"same\": bool, \"fields\": [{\"field\", \"other\", \"this\"}], \"lists\": {...}}.\n"
      "\nExamples:\n  qorcfg diff\n  qorcfg diff pc01.json\n  qorcfg diff other-pc/GameConfig.dat --json\n"),
    T(kHelpInit,
      "Writes the file with the defaults, as the window creates a missing one. A file\n"
      "that exists is refused (exit status 1) unless --force is given; then it is\n"
      "replaced and kept as the backup (the file's name + .bak).\n"
      "\nExamples:\n  qorcfg init\n  qorcfg init --force\n"),
    T(kHelpRestore,
      "Puts the backup that every save keeps (the file's name + .bak) back as the file,\n"
      "through the same safe save: the file it replaces becomes the new backup, so a\n"
      "second restore undoes the first. Exit status 2, with nothing changed, when there\n"
      "is no backup or it holds no configuration the tool reads.\n"
      "\nExamples:\n  qorcfg restore\n"),
    T(kHelpVersion, "Prints \"qorcfg VERSION\", as --version and -V do.\n\nExamples:\n  qorcfg version\n"),
    T(kHelpCompletion,
      "Prints a completion script for bash, made from the command table: it completes\n"
      "commands, options, list names, file names where a file is expected, field names\n"
      "and, after a field, its values.\n"
      "\nExamples:\n  source <(qorcfg completion bash)\n"),

    T(kRowScreenSize, "the size of the game's window or screen"),
    T(kRowFullScreen, "the game fills the screen"),
    T(kRowFps60, "the frame rate"),
    T(kRowBarrier, "where the stage barrier is shown"),
    T(kRowReduceLoad, "lighter drawing for a slow PC"),
    T(kRowScreenShake, "the screen shakes when a character is hit"),
    T(kRowExtraOption, "on no page; carried unchanged"),
    T(kRowBgmVolume, "the music's volume"),
    T(kRowSeVolume, "the sound effects' volume"),
    T(kRowVoiceVolume, "the voices' volume"),
    T(kRowDifficulty, "the story mode's difficulty"),
    T(kRowMovie, "the movies are played"),
    T(kRowInactive, "the game keeps running while its window is inactive"),
    T(kRowLoading, "what the loading screens show"),
    T(kRowId, "the ID the game sends when it connects"),
    T(kRowConnect, "the addresses to connect to"),
    T(kRowAllowedOnly, "only the allowed addresses may connect"),
    T(kRowAllowed, "the addresses that may connect while allowed_only is on"),
    T(kRowDenied, "the addresses that may not connect"),
    T(kRowInputMethod, "player {1}'s way of playing: the keyboard or a joypad"),
    T(kRowKeySlot, "player {1}'s button for {2} ({3})"),
    T(kRowKeySlotOnNoPage, "player {1}'s key slot {2}: {3}"),
    T(kRowMessageText, "the chat message that F{1} sends"),
    T(kRowMessageTarget, "who the chat message of F{1} goes to"),
    T(kSlotOnNoPage, "on no page; carried in the map"),

    T(kCaptionScreenSize, "Screen size"),
    T(kCaptionFullScreen, "Full screen"),
    T(kCaptionFps, "Frame rate"),
    T(kCaptionBarrier, "Stage barrier"),
    T(kCaptionReduceLoad, "Reduce load"),
    T(kCaptionScreenShake, "Screen shake"),
    T(kCaptionBgmVolume, "Volume: BGM"),
    T(kCaptionSeVolume, "Volume: SE"),
    T(kCaptionVoiceVolume, "Volume: VOICE"),
    T(kCaptionDifficulty, "Story difficulty"),
    T(kCaptionMovie, "Movie playback"),
    T(kCaptionInactive, "Run when inactive"),
    T(kCaptionLoading, "Loading illustrations"),
    T(kCaptionId, "Connect to: ID"),
    T(kCaptionAllowedOnly, "Allowed: Use the allowed list"),
    T(kCaptionInputMethod, "Key config: Control ({1})"),
    T(kCaptionMessageText, "Messages: {1}"),
    T(kCaptionMessageTarget, "Messages: {1}, Send to"),

    T(kListConnect, "connect"),
    T(kListAllowed, "allowed"),
    T(kListDenied, "denied"),

    T(kMeaningOff, "off"),
    T(kMeaningOn, "on"),
    T(kMeaningJoypad, "joypad"),
    T(kMeaningKeyboard, "keyboard"),
    T(kMeaningEveryone, "everyone"),
    T(kMeaningOwnTeam, "own team"),
    T(kMeaning640, "640x480"),
    T(kMeaning800, "800x600"),
    T(kMeaning1024, "1024x768"),
    T(kMeaningFps60, "60 frames per second"),
    T(kMeaningFps30, "30 frames per second"),
    T(kMeaningNearby, "Nearby"),
    T(kMeaningAlways, "Always"),
    T(kMeaningEasy, "Easy"),
    T(kMeaningNormal, "Normal"),
    T(kMeaningHard, "Hard"),
    T(kMeaningNightmare, "Nightmare"),
    T(kMeaningLoadingDefault, "Default"),
    T(kMeaningLoadingPictures, "Pictures"),
    T(kMeaningLoadingAll, "All"),
    T(kMeaningSlider, "slider at {1} of 10000"),
    T(kMeaningCarried, "on no page; carried unchanged"),

    T(kSetText, "text of at most {1} bytes in the file's Japanese code page (CP932), without control characters"),
    T(kSetKeySlot, "a joypad button: 0 to 11, or KEY 1 to KEY 12"),
    T(kSetVolume, "-10000 (lowest) to 0 (highest), or \"slider at N of 10000\" with N from 0 to 10000"),
    T(kSetCarried, "a whole number from -2147483648 to 2147483647"),
    T(kSetChoices, "{1}"),
    T(kSetAlsoOnOff, " (also on/off, yes/no, true/false)"),
    T(kValueIsNot, "{1} is {2}, not \"{3}\""),
    T(kValueIsNotNumber, "{1} is {2}, not {3}"),
    T(kValueIs, "{1} is {2}"),
    T(kValueNotCp932, "{1} must be text that the file's Japanese code page (CP932) can hold"),
    T(kValueNoControl, "{1} cannot hold control characters"),
    T(kValueTooLong, "{1} is {2} bytes in CP932, more than the {3} it holds"),

    T(kReadError, "read error"),
    T(kProblemFolder, "a folder stands there, not a file"),
    T(kProblemDevice, "it is a device, not a file"),
    T(kProblemPipe, "it is a pipe, not a file"),
    T(kProblemNoFolder, "its folder does not exist"),
    T(kProblemNoSpace, "the disk is full"),
    T(kProblemReadOnlyFile, "the file is read-only"),
    T(kProblemReadOnlyFileSystem, "the file system is read-only"),
    T(kProblemDenied, "permission denied"),
    T(kProblemHeld, "held by another program"),
    T(kProblemBusy, "another program is saving it"),
    T(kProblemNoMemory, "not enough memory"),
    T(kErrorNoEntry, "No such file or directory"),
    T(kErrorAccess, "Permission denied"),
    T(kErrorPermission, "Operation not permitted"),
    T(kErrorIsFolder, "Is a directory"),
    T(kErrorNotFolder, "Not a directory"),
    T(kErrorNoSpace, "No space left on device"),
    T(kErrorQuota, "Disk quota exceeded"),
    T(kErrorReadOnlyFileSystem, "Read-only file system"),
    T(kErrorIo, "Input/output error"),
    T(kErrorBusy, "Device or resource busy"),
    T(kErrorTextBusy, "Text file busy"),
    T(kErrorNameTooLong, "File name too long"),
    T(kErrorLoop, "Too many levels of symbolic links"),
    T(kErrorTooManyOpen, "Too many open files"),
    T(kErrorNoMemory, "Cannot allocate memory"),
    T(kErrorTooLarge, "File too large"),
    T(kErrorInvalid, "Invalid argument"),

    T(kNothingChanged, "nothing changed"),
    T(kNothingChangedAfter, "{1}; nothing changed"),
    T(kNothingToSaveAfter, "{1}; nothing to save"),
    T(kSavedAfter, "{1}; saved"),
    T(kThenOutcome, "{1}; {2}"),
    T(kNothingRead, "{1}; nothing read"),
    T(kNoFolderNothingChanged, "its folder does not exist; nothing changed"),
    T(kNoSuchFileWouldCreate, "no such file (the tool would create it with the defaults)"),
    T(kStartingFromDefaults, "{1}: no such file: starting from the defaults of a new file, as the tool does"),
    T(kCannotBeRead, "cannot be read: {1}"),
    T(kCannotBeReadNamed, "{1}: cannot be read: {2}"),
    T(kCannotBeWritten, "{1}: cannot be written: {2}"),
    T(kHeldNotSaved, "held by another program; not saved, nothing changed"),
    T(kHeldCannotReadNow, "held by another program; it cannot be read now"),
    T(kTooShortForVersion,
      "too short to hold its version ({1} bytes); the tool would replace it with the defaults, qorcfg leaves it alone"),
    T(kStartsWithText, "not a configuration file (it starts with text); it is left as it is"),
    T(kNewerVersion, "version {1} is newer than {2}; the tool refuses it, and it is left as it is"),
    T(kNewerVersionDoubtful,
      "version {1} is newer than {2}; it may not be a configuration file at all; the tool refuses it, and it is left "
      "as it is"),
    T(kNoMemoryToRead, "not enough memory to read it"),
    T(kLockFileDenied, "its lock file {1} may not be opened (permission denied)"),
    T(kNoLockHere, "this file system allows no lock"),
    T(kSavedWithoutLock,
      "saved without the lock that keeps two writers apart: {1}, so a save by another program at the same moment "
      "could have been lost"),
    T(kBackupHeld,
      "{1}: held by another program, so it could not be updated: it still holds the file from before an earlier "
      "save, not the one this save replaced"),
    T(kBackupNotKept, "{1}: {2}, so no backup could be kept of the file this save replaced"),
    T(kNotFlushed,
      "saved, but its folder could not be flushed, so a power loss now could still take the change back; the file "
      "and its backup are in place, and running the command again is harmless"),
    T(kNotFlushedBecause,
      "saved, but its folder could not be flushed ({1}), so a power loss now could still take the change back; the "
      "file and its backup are in place, and running the command again is harmless"),
    T(kSaveBusy,
      "another program (qorcfg or the configuration window) is saving it and did not finish within {1} seconds; "
      "nothing changed, try again"),
    T(kMayNotWrite, "you may not write it (permission denied)"),
    T(kNotSavedNothingChanged, "{1}; not saved, nothing changed"),
    T(kNotSaved, "not saved; the file is as it was"),
    T(kNotSavedBecause, "not saved ({1}); the file is as it was"),
    T(kAlreadyHoldsSettings, "{1}: already holds these settings as the file stores them; nothing to save"),
    T(kChangedAgain,
      "changed by another program again before it could be saved; not saved, the other program's changes are kept "
      "(run the command again)"),
    T(kChangedReadingAgain, "{1}: changed by another program since it was read; reading it again"),
    T(kOutputNotWritten, "the output could not be written: {1}"),

    T(kIsConfigurationFile, "{1}: that is the configuration file, not a text file of addresses; nothing changed"),
    T(kIsConfigurationBackup, "{1}: that is the configuration's backup, not a text file of addresses; nothing changed"),
    T(kNoSuchList, "there is no list {1}{2}; the lists are denied, allowed and connect; nothing changed"),
    T(kProblemNothingChanged, "{1}: {2}; nothing changed"),
    T(kPipeNothingChanged, "{1}: {2} (give - and send it to standard input); nothing changed"),
    T(kArgumentNumber, "argument {1}"),
    T(kBecameEntries, "{1}: \"{2}\" became {3} entries"),
    T(kWouldTakeEntry, "{1}: would take 1 entry, and the {2} list has room for {3} more"),
    T(kWouldTakeEntries, "{1}: would take {2} entries, and the {3} list has room for {4} more"),
    T(kWouldHold, "the {1} list would hold {2} addresses, more than its {3}; nothing changed"),
    T(kReplacedBy, "{1}: replaced by {2} entries"),
    T(kReplacedByDropped, "{1}: replaced by {2} entries ({3} listed twice, dropped)"),
    T(kAlreadyHoldsEntries, "{1}: already holds these {2} entries; nothing to save"),
    T(kAddedCounts, "{1}: {2} added, {3} already listed"),
    T(kExpandedLine, "{1} (1 line stood for more than one entry)"),
    T(kExpandedLines, "{1} ({2} lines stood for more than one entry)"),
    T(kAlreadyListedInFile, "{1}: {2} is already listed in the file; dropped"),
    T(kAlreadyListedAt, "{1}: {2} is already listed at {3}; dropped"),
    T(kNoAddressGiven, "{1}: \"{2}\": no address given"),
    T(kNotInList, "{1}: {2} is not in the {3} list"),
    T(kRemovedCounts, "{1}: {2} removed, {3} not listed"),

    T(kRangeForm, "a range is two addresses a.b.c.d-a.b.c.e of plain numbers"),
    T(kRangeBackwards, "the range's first address is after its last"),
    T(kConnectNoRange, "the connect-to list holds single addresses only (no range)"),
    T(kEmptySlot, "0.0.0.0 marks an empty slot and cannot be listed"),
    T(kFourParts, "expected four parts a.b.c.d"),
    T(kPrefixNumber, "the prefix length must be a number from 0 to 32"),
    T(kPrefixTooLong, "prefix /{1} is longer than /32"),
    T(kConnectNoPrefix, "the connect-to list holds single addresses only (no prefix but /32)"),
    T(kPartNotNumber, "part {1} \"{2}\" is not a number from 0 to 255"),
    T(kPartInsidePrefix, "part {1} \"{2}\" lies inside the /{3} prefix's open part and must be 0"),
    T(kBitsPastPrefix, "the address has bits set past its /{1} prefix (the network is {2}/{1})"),
    T(kConnectNoWildcard, "the connect-to list takes no \"*\""),
    T(kPrefixAndWildcard, "a prefix and \"*\" cannot be combined"),
    T(kNotAnAddress, "not an address"),

    T(kTakesButton, " ({1} takes {2})"),
    T(kSetNoField, "set knows no field {1}{2}; 'qorcfg help fields' lists them; nothing changed"),
    T(kSetAlreadyHolds, "set: every field already holds its value; nothing to save"),
    T(kSetSaved, "set: {1}; saved"),
    T(kNoValueChanged, "no value changed"),
    T(kInitExists, "already exists; nothing changed ('qorcfg init --force' replaces it and keeps it as the backup)"),
    T(kInitDone, "init: {1} holds the defaults"),
    T(kInitDoneReplaced, "init: {1} holds the defaults; the file it replaced is the backup {2}"),
    T(kRestoredAsItStands, "{1} restored as it stands: {2}"),
    T(kRestored, "restore: {1} is the file again; the file it replaced is the backup"),
    T(kNoBackupToRestore, "{1}: no backup to restore; nothing changed"),
    T(kBackupUnreadable, "{1}: the backup cannot be read; nothing changed"),
    T(kBackupUnusable,
      "{1}: the backup holds no configuration the tool reads as it stands (shorter than its version's layout, too "
      "short to hold a version, or of a newer version); nothing changed"),
    T(kRestoreBusy, "another program (qorcfg or the configuration window) is saving it; nothing changed, try again"),
    T(kNotRestored, "not restored; the file and its backup are as they were"),
    T(kNotRestoredBecause, "not restored ({1}); the file and its backup are as they were"),

    T(kApplyAlreadyHolds, "apply: the file already holds what {1} says; nothing to save"),
    T(kApplySaved, "apply: {1}; saved"),
    T(kNoBackupToCompare, "{1}: no backup to compare with"),
    T(kNoSuchFile, "{1}: no such file"),
    T(kNoConfigurationNorJson,
      "{1}: holds no configuration the tool reads (too short, of a newer version, or text) and no JSON document"),
    T(kNothingCompared, "nothing compared"),
    T(kDiffReordered, "{1}: the same entries in another order (or listed another number of times)"),
    T(kDiffRecords, "{1}: {2} -> {3} records (their bytes differ)"),
    T(kSummaryChanged, "changed {1}"),
    T(kSummaryMore, "{1} and {2} more"),
    T(kSummaryListCounts, "{1}: {2} removed, {3} added"),
    T(kSummaryReordered, "{1}: reordered"),

    T(kOutsideKept, " (outside its values; the window keeps it as it is)"),
    T(kOutsideSaved, " (outside its values; a save from the window stores {1})"),
    T(kShowFile, "File: {1} ({2} bytes)"),
    T(kShowVersion, "Version: {1}"),
    T(kShowOpaqueRecords, "Opaque records: {1} ({2} bytes)"),
    T(kShowOpaqueWords, "Opaque words: {1}, {2}"),
    T(kShowList, "{1} ({2}):"),
    T(kShowListOf, "{1} ({2} of {3}):"),
    T(kShowKeySlot, "key_map.{1}, {2} ({3})"),
    T(kCheckHead, "{1}: version {2}, {3} bytes"),
    T(kNoFindings, "no findings"),
    T(kFindingCount, "{1} finding(s)"),
    T(kFindingOlder, "version {1} is older than {2}: the next save writes version {2}, with {3}"),
    T(kFindingShort,
      "the file is {1} bytes, {2} short of the {3} its layout needs: from the {4} on, the missing bytes read as "
      "zeros, and the next save writes them so"),
    T(kFindingLong, "{1} bytes follow the end of the layout: they are not read, and the next save drops them"),
    T(kFindingOutsideKept, "{1} is {2}, outside its values: the window shows {3} and keeps it as it is"),
    T(kFindingOutsideSaved, "{1} is {2}, outside its values: the window shows {3} and its next save stores {4}"),
    T(kFindingIdLineBreak,
      "the connect-to ID holds a line break after its first {1} bytes: the window shows \"{2}\" and its next save "
      "stores \"{3}\", without the line break and what follows it"),
    T(kFindingIdNoNul,
      "the connect-to ID has no NUL in its {1} bytes: the window shows all {1} and its next save keeps at most the "
      "first {2}"),
    T(kFindingIdLong, "the connect-to ID is {1} bytes: the window's next save keeps at most the first {2}"),
    T(kFindingMessageNoNul,
      "message {1} has no NUL in its {2} bytes: the window shows at most its first {3} and its next save ends it "
      "there"),
    T(kFindingTarget, "message {1}'s target is {2}: the window shows own team and its next save stores 1"),
    T(kFindingConnectGaps,
      "the connect-to table has empty slots before used ones: the window's next save moves its {1} addresses to the "
      "first slots"),
    T(kFindingAbove256,
      "the {1} list has {2} entries with an octet above 256: shown as \"*\", and the window's next save stores 256"),
    T(kFindingDuplicates, "the {1} list holds {2} duplicate entries (the first: {3})"),
    T(kFindingOpaque,
      "the file holds {1} opaque records, more than the {2} the format was made for: they are carried unchanged"),

    T(kItemVersion, "version"),
    T(kItemOptionBlock, "option block"),
    T(kItemConnectId, "connect-to ID"),
    T(kItemConnectAddresses, "connect-to addresses"),
    T(kItemOpaqueWord1, "opaque word 1"),
    T(kItemAllowedOnly, "allowed-only flag"),
    T(kItemAllowed, "allowed addresses"),
    T(kItemDenied, "denied addresses"),
    T(kItemOpaqueRecords, "opaque records"),
    T(kItemOpaqueWord2, "opaque word 2"),
    T(kItemMessages, "function messages"),
    T(kItemAllowedCount, "allowed count"),
    T(kItemDeniedCount, "denied count"),
    T(kItemRecordCount, "opaque-record count"),
    T(kMissingAllowedOnly, "allowed-only off"),
    T(kMissingAllowed, "an empty allowed list"),
    T(kMissingDenied, "an empty denied list"),
    T(kMissingRecords, "no opaque records"),
    T(kMissingOpaqueWord2, "opaque word 2 zero"),
    T(kMissingMessages, "empty messages"),

    T(kJsonEmpty, "expected a JSON document, not empty text"),
    T(kJsonNotSingular, "expected nothing but spaces after the document"),
    T(kJsonValue, "expected a value: an object, an array, a string, a number, true, false or null"),
    T(kJsonMemberName, "expected a member's name in double quotes"),
    T(kJsonColon, "expected \":\" after the member's name"),
    T(kJsonCommaOrBrace, "expected \",\" or \"}\" after the member"),
    T(kJsonCommaOrBracket, "expected \",\" or \"]\" after the element"),
    T(kJsonHex, "expected four hexadecimal digits after \\u"),
    T(kJsonSurrogate, "expected the second half of a surrogate pair (\\uDC00 to \\uDFFF) after its first"),
    T(kJsonEscape, "expected an escape \\\" \\\\ \\/ \\b \\f \\n \\r \\t or \\uXXXX"),
    T(kJsonQuotationMark, "expected the string's closing quotation mark"),
    T(kJsonUtf8, "expected text in UTF-8"),
    T(kJsonNumberTooBig, "expected a number that a double can hold"),
    T(kJsonFraction, "expected a digit after the decimal point"),
    T(kJsonExponent, "expected a digit in the exponent"),
    T(kJsonControl, "expected an escape for a control character in a string"),
    T(kJsonAtTheEnd, "{1}, not the end of the document"),
    T(kJsonNoJson, "expected JSON"),
    T(kTypeNull, "null"),
    T(kTypeBool, "true or false"),
    T(kTypeWhole, "a whole number"),
    T(kTypeFraction, "a number with a fraction or an exponent"),
    T(kTypeString, "a string"),
    T(kTypeObject, "an object"),
    T(kTypeArray, "an array"),
    T(kExpectedNot, "{1}, not {2}"),
    T(kExpectedObject, "expected an object"),
    T(kExpectedArray, "expected an array"),
    T(kExpectedArrayOf, "expected an array of {1} elements"),
    T(kExpectedAddresses, "expected an array of address strings"),
    T(kExpectedPlayer, "expected 1 or 2"),
    T(kExpectedMessageKey, "expected \"F1\" to \"F8\""),
    T(kExpectedString, "expected a string"),
    T(kExpectedOnOffValue, "expected a whole number, true, false or the value's meaning"),
    T(kExpectedValue, "expected a whole number or the value's meaning"),
    T(kExpectedWholeOrString, "expected a whole number or a string"),
    T(kExpectedWhole, "expected a whole number"),
    T(kExpectedAddress, "expected an address string"),
    T(kExpectedValueOrMeaning, "expected \"value\" or \"meaning\""),
    T(kExpectedElements, "expected {1} elements, not {2}"),
    T(kExpectedAtMost, "expected at most {1} elements"),
    T(kUnknownMember, "unknown member{1}"),
    T(kMeansNot, "{1} means \"{2}\", not \"{3}\"; give the value or the meaning alone"),
    T(kListedTwiceDropped, "{1} is listed twice; dropped"),
    T(kTooManyForList, "{1} addresses, more than the {2} the {3} list holds"),
};
