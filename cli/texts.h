// Every word qorcfg says to people, by identifier, in its two faces: one table per face
// (texts_en.cpp, texts_ja.cpp), as the window keeps its texts. A text may hold {1} to
// {9}, filled in by Say in the order given, so that each face puts them where its
// grammar wants them. What scripts read (JSON, lists, names, exit statuses) is no text
// of these tables and reads the same in both faces.
#pragma once

#include <concepts>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "message/messages.h"

enum class CliText {
    // Joining words: "a, b and c", "a, b or c".
    kJoinComma,
    kJoinAnd,
    kJoinOr,
    kDidYouMean,

    // The command line.
    kSeeHelp,
    kUnknownOption,
    kFileNeedsPath,
    kNoHelpOn,
    kTakesNoArguments,
    kCompletionShell,
    kNoCommand,
    kUnknownCommand,
    kOptionBelongs,
    kApplyJsonDryRun,
    kQuietAndVerbose,
    kFilePathNotNameable,
    kArgumentPathNotNameable,
    kUsageFirst,
    kUsageMore,
    kSeeAddresses,
    kSetNeedsPairs,
    kListTakesOne,
    kExportArguments,
    kImportArguments,
    kNeedsList,
    kNeedsAddress,
    kApplyNeedsFile,
    kDiffArguments,

    // The help.
    kUsageHead,
    kUsageTail,
    kAddressRules,
    kFieldsHead,
    kFieldsLists,
    kFieldsExamples,
    kSummaryShow,
    kSummaryCheck,
    kSummaryList,
    kSummaryAdd,
    kSummaryRemove,
    kSummaryImport,
    kSummaryExport,
    kSummarySet,
    kSummaryApply,
    kSummaryDiff,
    kSummaryInit,
    kSummaryRestore,
    kSummaryVersion,
    kSummaryCompletion,
    kHelpShow,
    kHelpCheck,
    kHelpList,
    kHelpAdd,
    kHelpRemove,
    kHelpImport,
    kHelpExport,
    kHelpSet,
    kHelpApply,
    kHelpDiff,
    kHelpInit,
    kHelpRestore,
    kHelpVersion,
    kHelpCompletion,

    // Each value's help line, for `help fields`.
    kRowScreenSize,
    kRowFullScreen,
    kRowFps60,
    kRowBarrier,
    kRowReduceLoad,
    kRowScreenShake,
    kRowExtraOption,
    kRowBgmVolume,
    kRowSeVolume,
    kRowVoiceVolume,
    kRowDifficulty,
    kRowMovie,
    kRowInactive,
    kRowLoading,
    kRowId,
    kRowConnect,
    kRowAllowedOnly,
    kRowAllowed,
    kRowDenied,
    kRowInputMethod,
    kRowKeySlot,
    kRowKeySlotOnNoPage,
    kRowMessageText,
    kRowMessageTarget,
    kSlotOnNoPage,

    // The window's words for the values show prints, beside them in the Japanese face.
    kCaptionScreenSize,
    kCaptionFullScreen,
    kCaptionFps,
    kCaptionBarrier,
    kCaptionReduceLoad,
    kCaptionScreenShake,
    kCaptionBgmVolume,
    kCaptionSeVolume,
    kCaptionVoiceVolume,
    kCaptionDifficulty,
    kCaptionMovie,
    kCaptionInactive,
    kCaptionLoading,
    kCaptionId,
    kCaptionAllowedOnly,
    kCaptionInputMethod,
    kCaptionMessageText,
    kCaptionMessageTarget,

    // The lists, as messages name them.
    kListConnect,
    kListAllowed,
    kListDenied,

    // What values mean, as show prints them and set takes them.
    kMeaningOff,
    kMeaningOn,
    kMeaningJoypad,
    kMeaningKeyboard,
    kMeaningEveryone,
    kMeaningOwnTeam,
    kMeaning640,
    kMeaning800,
    kMeaning1024,
    kMeaningFps60,
    kMeaningFps30,
    kMeaningNearby,
    kMeaningAlways,
    kMeaningEasy,
    kMeaningNormal,
    kMeaningHard,
    kMeaningNightmare,
    kMeaningLoadingDefault,
    kMeaningLoadingPictures,
    kMeaningLoadingAll,
    kMeaningSlider,
    kMeaningCarried,

    // Value sets, and a value refused.
    kSetText,
    kSetKeySlot,
    kSetVolume,
    kSetCarried,
    kSetChoices,
    kSetAlsoOnOff,
    kValueIsNot,
    kValueIsNotNumber,
    kValueIs,
    kValueNotCp932,
    kValueNoControl,
    kValueTooLong,

    // Files and their problems.
    kReadError,
    kProblemFolder,
    kProblemDevice,
    kProblemPipe,
    kProblemNoFolder,
    kProblemNoSpace,
    kProblemReadOnlyFile,
    kProblemReadOnlyFileSystem,
    kProblemDenied,
    kProblemHeld,
    kProblemBusy,
    kProblemNoMemory,
    kErrorNoEntry,
    kErrorAccess,
    kErrorPermission,
    kErrorIsFolder,
    kErrorNotFolder,
    kErrorNoSpace,
    kErrorQuota,
    kErrorReadOnlyFileSystem,
    kErrorIo,
    kErrorBusy,
    kErrorTextBusy,
    kErrorNameTooLong,
    kErrorLoop,
    kErrorTooManyOpen,
    kErrorNoMemory,
    kErrorTooLarge,
    kErrorInvalid,

    // Reading and saving.
    kNothingChanged,
    kNothingChangedAfter,
    kNothingToSaveAfter,
    kSavedAfter,
    kThenOutcome,
    kNothingRead,
    kNoFolderNothingChanged,
    kNoSuchFileWouldCreate,
    kStartingFromDefaults,
    kCannotBeRead,
    kCannotBeReadNamed,
    kCannotBeWritten,
    kHeldNotSaved,
    kHeldCannotReadNow,
    kTooShortForVersion,
    kStartsWithText,
    kNewerVersion,
    kNewerVersionDoubtful,
    kNoMemoryToRead,
    kLockFileDenied,
    kNoLockHere,
    kSavedWithoutLock,
    kBackupHeld,
    kBackupNotKept,
    kNotFlushed,
    kNotFlushedBecause,
    kSaveBusy,
    kMayNotWrite,
    kNotSavedNothingChanged,
    kNotSaved,
    kNotSavedBecause,
    kAlreadyHoldsSettings,
    kChangedAgain,
    kChangedReadingAgain,
    kOutputNotWritten,

    // The list commands.
    kIsConfigurationFile,
    kIsConfigurationBackup,
    kNoSuchList,
    kProblemNothingChanged,
    kPipeNothingChanged,
    kArgumentNumber,
    kBecameEntries,
    kWouldTakeEntry,
    kWouldTakeEntries,
    kWouldHold,
    kReplacedBy,
    kReplacedByDropped,
    kAlreadyHoldsEntries,
    kAddedCounts,
    kExpandedLine,
    kExpandedLines,
    kAlreadyListedInFile,
    kAlreadyListedAt,
    kNoAddressGiven,
    kNotInList,
    kRemovedCounts,

    // Address lines.
    kRangeForm,
    kRangeBackwards,
    kConnectNoRange,
    kEmptySlot,
    kFourParts,
    kPrefixNumber,
    kPrefixTooLong,
    kConnectNoPrefix,
    kPartNotNumber,
    kPartInsidePrefix,
    kBitsPastPrefix,
    kConnectNoWildcard,
    kPrefixAndWildcard,
    kNotAnAddress,

    // set, init and restore.
    kTakesButton,
    kSetNoField,
    kSetAlreadyHolds,
    kSetSaved,
    kNoValueChanged,
    kInitExists,
    kInitDone,
    kInitDoneReplaced,
    kRestoredAsItStands,
    kRestored,
    kNoBackupToRestore,
    kBackupUnreadable,
    kBackupUnusable,
    kRestoreBusy,
    kNotRestored,
    kNotRestoredBecause,

    // apply and diff.
    kApplyAlreadyHolds,
    kApplySaved,
    kNoBackupToCompare,
    kNoSuchFile,
    kNoConfigurationNorJson,
    kNothingCompared,
    kDiffReordered,
    kDiffRecords,
    kSummaryChanged,
    kSummaryMore,
    kSummaryListCounts,
    kSummaryReordered,

    // show and check.
    kOutsideKept,
    kOutsideSaved,
    kShowFile,
    kShowVersion,
    kShowOpaqueRecords,
    kShowOpaqueWords,
    kShowList,
    kShowListOf,
    kShowKeySlot,
    kCheckHead,
    kNoFindings,
    kFindingCount,
    kFindingOlder,
    kFindingShort,
    kFindingLong,
    kFindingOutsideKept,
    kFindingOutsideSaved,
    kFindingIdLineBreak,
    kFindingIdNoNul,
    kFindingIdLong,
    kFindingMessageNoNul,
    kFindingTarget,
    kFindingConnectGaps,
    kFindingAbove256,
    kFindingDuplicates,
    kFindingOpaque,

    // The parts of the file, as check names them, and what an older file lacks.
    kItemVersion,
    kItemOptionBlock,
    kItemConnectId,
    kItemConnectAddresses,
    kItemOpaqueWord1,
    kItemAllowedOnly,
    kItemAllowed,
    kItemDenied,
    kItemOpaqueRecords,
    kItemOpaqueWord2,
    kItemMessages,
    kItemAllowedCount,
    kItemDeniedCount,
    kItemRecordCount,
    kMissingAllowedOnly,
    kMissingAllowed,
    kMissingDenied,
    kMissingRecords,
    kMissingOpaqueWord2,
    kMissingMessages,

    // JSON documents.
    kJsonEmpty,
    kJsonNotSingular,
    kJsonValue,
    kJsonMemberName,
    kJsonColon,
    kJsonCommaOrBrace,
    kJsonCommaOrBracket,
    kJsonHex,
    kJsonSurrogate,
    kJsonEscape,
    kJsonQuotationMark,
    kJsonUtf8,
    kJsonNumberTooBig,
    kJsonFraction,
    kJsonExponent,
    kJsonControl,
    kJsonAtTheEnd,
    kJsonNoJson,
    kTypeNull,
    kTypeBool,
    kTypeWhole,
    kTypeFraction,
    kTypeString,
    kTypeObject,
    kTypeArray,
    kExpectedNot,
    kExpectedObject,
    kExpectedArray,
    kExpectedArrayOf,
    kExpectedAddresses,
    kExpectedPlayer,
    kExpectedMessageKey,
    kExpectedString,
    kExpectedOnOffValue,
    kExpectedValue,
    kExpectedWholeOrString,
    kExpectedWhole,
    kExpectedAddress,
    kExpectedValueOrMeaning,
    kExpectedElements,
    kExpectedAtMost,
    kUnknownMember,
    kMeansNot,
    kListedTwiceDropped,
    kTooManyForList,

    kCount
};

inline constexpr std::size_t kCliTextCount = static_cast<std::size_t>(CliText::kCount);

// One row of a face's table. The texts are UTF-8 (u8 literals, which the project's CP932
// execution character set leaves alone).
struct CliTextRow {
    CliText id;
    const char8_t* text;
};

// Each face's table: one row per identifier, in identifier order.
extern const CliTextRow english_cli_texts[kCliTextCount];
extern const CliTextRow japanese_cli_texts[kCliTextCount];

// The face this run of qorcfg speaks in; English until it is set.
Language CliFace();
void SetCliFace(Language face);

// The face the system asks for: QORCFG_LANG (ja or en) over all; on Windows then the
// choice the window remembers, then the user's UI language; on POSIX systems LC_ALL,
// LC_MESSAGES, then LANG. Read from the environment alone: no locale is loaded.
Language SystemFace();

// A value put into a text: a text as it stands, or a whole number.
struct TextArgument {
    std::string text;
    TextArgument(std::string_view t) : text(t) {}
    TextArgument(const std::string& t) : text(t) {}
    TextArgument(const char* t) : text(t) {}
    template <std::integral Number>
    TextArgument(Number n) : text(std::to_string(n)) {}
};

// A text of a face with {1}, {2}, ... filled in: UTF-8.
std::string SayIn(Language face, CliText id, std::initializer_list<TextArgument> arguments = {});
// The same in this run's face.
std::string Say(CliText id, std::initializer_list<TextArgument> arguments = {});

// A face's words for a text that a lower layer names in English (a meaning, a part of
// the file): the text of `face` whose English among the rows `first` to `last` is
// `english`; `english` as it stands when none is.
std::string FaceWord(std::string_view english, CliText first, CliText last, Language face);

// "a, b and c" in this run's face (`last` kJoinAnd or kJoinOr).
std::string Listing(const std::vector<std::string>& words, CliText last = CliText::kJoinAnd, Language face = CliFace());

