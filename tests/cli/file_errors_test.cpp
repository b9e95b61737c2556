// What qorcfg says of files that are not what they should be, and of another writer that
// holds the save's lock: each named as what it is, none waited on for ever, nothing
// changed that the message says is unchanged.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "cli/qorcfg.h"
#include "cli/session.h"
#include "config/config_store.h"
#include "config/file_system.h"
#include "support/config_layout.h"
#include "support/qorcfg_run.h"
#include "support/scratch_dir.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ScratchGameFolder;
using testing_support::StepFails;

using testing_support::ReadText;
using testing_support::Utf8;
using testing_support::WriteText;

std::string DefaultText() {
    const std::vector<std::uint8_t> bytes = config_layout::DefaultFile();
    return {bytes.begin(), bytes.end()};
}

// The program on a command line as a shell splits it (some rows need quotes).
testing_support::QorcfgResult RunProgram(const std::string& arguments) {
    const std::string command = std::string("timeout 10 ") + QORCFG_PROGRAM + " " + arguments +
                                " </dev/null >stdout.txt 2>stderr.txt";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, "", ReadText("stderr.txt")};
}

struct InProcess {
    int status;
    std::string err;
};

std::string Drain(std::FILE* file) {
    std::string text;
    std::rewind(file);
    for (int ch; (ch = std::fgetc(file)) != EOF;) text += static_cast<char>(ch);
    return text;
}

// qorcfg run in this process, so that the store's seams reach it. `out` and `err`, when
// given, are where its output and its messages go (the messages are then not read back).
InProcess RunHere(const std::vector<std::string>& args, std::FILE* out = nullptr, std::FILE* err = nullptr) {
    std::vector<std::string> words = {"qorcfg"};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    std::FILE* own_out = out != nullptr ? nullptr : std::tmpfile();
    std::FILE* own_err = err != nullptr ? nullptr : std::tmpfile();
    const int status = RunQorcfg(static_cast<int>(words.size()), argv.data(), out != nullptr ? out : own_out,
                                 err != nullptr ? err : own_err);
    InProcess result{status, own_err != nullptr ? Drain(own_err) : std::string()};
    if (own_out != nullptr) std::fclose(own_out);
    if (own_err != nullptr) std::fclose(own_err);
    return result;
}

TEST(QorcfgFileErrors, EachFileThatIsNoConfigurationIsNamedAsWhatItIs) {
    struct Row {
        const char* name;
        std::function<void()> prepare;
        std::string arguments;
        int status;
        std::string says;
        std::string config_after;  // the configuration file's bytes after; "-" for not checked
    };
    const std::string config = DefaultText();
    const std::string cut = config.substr(0, 300);
    const Row rows[] = {
        {"a folder given as the file", [] { fs::create_directory("folder"); }, "--file folder add denied 1.2.3.4", 2,
         "folder: a folder stands there, not a file; nothing changed", config},
        {"a folder given to show", [] { fs::create_directory("folder"); }, "--file folder show", 2,
         "folder: a folder stands there, not a file; nothing read", config},
        {"a device", [] {}, "--file /dev/zero add denied 1.2.3.4", 2, "/dev/zero: it is a device, not a file", config},
        {"a pipe with no writer", [] { mkfifo("pipe", 0600); }, "--file pipe add denied 1.2.3.4", 2,
         "pipe: it is a pipe, not a file", config},
        {"a pipe read by show", [] { mkfifo("pipe", 0600); }, "--file pipe show", 2, "pipe: it is a pipe, not a file",
         config},
        {"a missing folder", [] {}, "--file nowhere/GameConfig.dat add denied 1.2.3.4", 2,
         "nowhere/GameConfig.dat: its folder does not exist; nothing changed", config},
        {"an import from a pipe", [] { mkfifo("pipe", 0600); }, "import denied pipe", 2,
         "pipe: it is a pipe, not a file (give - and send it to standard input); nothing changed", config},
        {"an export over the configuration", [] {}, "export denied Data/GameConfig.dat", 2,
         "Data/GameConfig.dat: that is the configuration file, not a text file of addresses; nothing changed", config},
        {"an import of the backup", [] { WriteText("Data/GameConfig.dat.bak", DefaultText()); },
         "import denied Data/GameConfig.dat.bak", 2,
         "Data/GameConfig.dat.bak: that is the configuration's backup, not a text file of addresses", config},
        {"an empty address", [] {}, "add denied ''", 1, "argument 2: \"\": no address given", config},
        {"a comment alone", [] {}, "add denied '# x' 1.2.3.4", 1, "argument 2: \"# x\": no address given", config},
        {"a backup cut short", [cut] { WriteText("Data/GameConfig.dat.bak", cut); }, "restore", 2,
         "holds no configuration the tool reads as it stands", config},
        {"a folder for a backup", [] { fs::create_directory("Data/GameConfig.dat.bak"); }, "add denied 1.2.3.4", 0,
         "Data/GameConfig.dat.bak: a folder stands there, not a file, so no backup could be kept", "-"},
        // Versions count up from 259 one by one: random bytes are not sent to look for a
        // newer tool, a file of the next version is.
        {"random bytes", [config] { WriteText("Data/GameConfig.dat", "\x06\x7d" + config.substr(2)); }, "show", 2,
         "version 32006 is newer than 272; it may not be a configuration file at all; the tool refuses it", "-"},
        {"a short file of a near version", [] { WriteText("Data/GameConfig.dat", std::string("\x2c\x01", 2) + "abcdefgh"); },
         "show", 2, "version 300 is newer than 272; it may not be a configuration file at all", "-"},
        {"the next version", [config] { WriteText("Data/GameConfig.dat", "\x11\x01" + config.substr(2)); }, "show", 2,
         "version 273 is newer than 272; the tool refuses it", "-"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ScratchGameFolder folder;
        WriteText("Data/GameConfig.dat", config);
        row.prepare();
        const testing_support::QorcfgResult result = RunProgram(row.arguments);
        EXPECT_EQ(result.status, row.status) << result.err;
        EXPECT_NE(result.err.find(row.says), std::string::npos) << result.err;
        if (row.config_after != "-") {
            EXPECT_EQ(ReadText("Data/GameConfig.dat"), row.config_after);
        }
    }
}

// A file named through a symbolic link is saved where the link points, with its backup
// beside it there; the link stays a link.
TEST(QorcfgFileErrors, ALinkIsFollowedToTheFileItNames) {
    ScratchGameFolder folder;
    fs::create_directory("elsewhere");
    WriteText("elsewhere/GameConfig.dat", DefaultText());
    fs::create_symlink("../elsewhere/GameConfig.dat", "Data/GameConfig.dat");
    const testing_support::QorcfgResult result = RunProgram("add denied 1.2.3.4");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(fs::is_symlink("Data/GameConfig.dat"));
    EXPECT_EQ(ReadText("elsewhere/GameConfig.dat.bak"), DefaultText());
    EXPECT_NE(ReadText("elsewhere/GameConfig.dat"), DefaultText());
    EXPECT_FALSE(fs::exists("Data/GameConfig.dat.bak"));
}

// Another writer that keeps the lock past the wait: "try again", and nothing touched.
TEST(QorcfgFileErrors, AWriterThatHoldsTheLockTooLongGetsTryAgain) {
    ScratchGameFolder folder;
    WriteText("Data/GameConfig.dat", DefaultText());
    FileLock other = kNoLock;
    ASSERT_EQ(TryLockFile("Data/GameConfig.dat.lock", other), LockResult::kLocked);
    SetLockWaitForTests(50);
    const InProcess result = RunHere({"add", "denied", "1.2.3.4"});
    EXPECT_EQ(result.status, kStatusTryAgain);
    EXPECT_NE(result.err.find("is saving it and did not finish within 5 seconds; nothing changed, try again"),
              std::string::npos)
        << result.err;
    EXPECT_EQ(ReadText("Data/GameConfig.dat"), DefaultText());
    EXPECT_FALSE(fs::exists("Data/GameConfig.dat.bak"));
    // The lock is the process's own to give back: released, the next save goes through.
    ReleaseLock(other);
    EXPECT_EQ(RunHere({"add", "denied", "1.2.3.4"}).status, kStatusDone);
    SetLockWaitForTests(kSaveLockWaitMs);
}

}  // namespace

namespace {

std::string Bytes(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

// The default file with the connect-to ID and the F3 text given as CP932 bytes, and
// 1.2.3.4 first in the connect-to table.
std::string FileWith(const std::string& id, const std::string& f3 = "", std::uint16_t version = 272) {
    config_layout::FileParts parts = config_layout::DefaultParts();
    parts.connect_id = config_layout::IdField(id);
    parts.connect[0] = {1, 2, 3, 4};
    const std::vector<std::uint8_t> item = config_layout::MessageItem(f3, 0);
    std::copy(item.begin(), item.end(), parts.messages.begin() + 2 * config_layout::kMessageBytes);
    return Bytes(parts.Bytes(version));
}

bool EndsWith(const char* path, const char* name) {
    const std::size_t length = std::strlen(path), end = std::strlen(name);
    return length >= end && std::strcmp(path + length - end, name) == 0;
}

// A holder that lets the file be read but neither replaced nor written in place.
FileProblem NeitherReplacedNorWritten(FileStep step, const char* path) {
    return step == FileStep::kRename && EndsWith(path, "GameConfig.dat") ? FileProblem::kHeld : FileProblem::kNone;
}

// Each finding on the disk and its words: a save that changes nothing writes nothing, and
// every failure is named and gives its status; nothing of a save's own stays behind.
TEST(QorcfgFileErrors, EveryFindingOfTheDiskIsNamedAndNoneIsASuccess) {
    struct Row {
        std::string name;
        std::string file;                    // the configuration before
        std::function<void()> prepare;       // after the file and its backup are written
        std::vector<std::string> args;
        int status;
        std::string says;                    // in the messages; "" for none at all
        bool saved;                          // the file holds the change and the backup the old file
        FailingFileTest fail = nullptr;
        LockRefusal lock = LockRefusal::kNone;
    };
    const std::string backup = "an older backup";
    std::vector<Row> rows;
    // The four pairs of characters that CP932 stores alike, each twin given: the file is
    // not rewritten, and its backup keeps the last real change.
    const struct {
        const char* stored;
        const char8_t* twins[2];
    } pairs[] = {
        {"\x81\x5C", {u8"\u2014", u8"\u2015"}},
        {"\x81\x60", {u8"\u301C", u8"\uFF5E"}},
        {"\x81\x7C", {u8"\u2212", u8"\uFF0D"}},
        {"\x81\x61", {u8"\u2016", u8"\u2225"}},
    };
    for (const auto& pair : pairs)
        for (const char8_t* twin : pair.twins) {
            const std::string text = Utf8(twin);
            rows.push_back({"set id a" + text + "b", FileWith(std::string("a") + pair.stored + "b"), [] {},
                            {"set", "id", "a" + text + "b"}, 0, "nothing to save", false});
            rows.push_back({"apply F3 x" + text, FileWith("", std::string("x") + pair.stored),
                            [text] { WriteText("doc.json", "{\"messages\":[{\"key\":\"F3\",\"text\":\"x" + text + "\"}]}"); },
                            {"apply", "doc.json"}, 0, "nothing to save", false});
        }
    rows.push_back({"a set on an older file that reads as the value", FileWith("", "", 262), [] {},
                    {"set", "F3.text", ""}, 0, "nothing to save", false});
    rows.push_back({"an import that replaces the connect-to table with what it holds", FileWith(""),
                    [] { WriteText("list.txt", "1.2.3.4\n"); }, {"import", "--replace", "connect", "list.txt"}, 0,
                    "nothing to save", false});
    rows.push_back({"a folder that cannot be flushed", FileWith(""), [] {}, {"add", "denied", "1.2.3.4"}, 2,
                    "saved, but its folder could not be flushed, so a power loss now could still take the change "
                    "back; the file and its backup are in place, and running the command again is harmless",
                    true, StepFails<FileStep::kFlushFolder, FileProblem::kOther>});
    rows.push_back({"no lock of the open file: the process's lock", FileWith(""), [] {}, {"add", "denied", "1.2.3.4"},
                    0, "", true, nullptr, LockRefusal::kOpenFileLocks});
    rows.push_back({"no lock at all", FileWith(""), [] {}, {"add", "denied", "1.2.3.4"}, 0,
                    "saved without the lock that keeps two writers apart: this file system allows no lock, so a save "
                    "by another program at the same moment could have been lost",
                    true, nullptr, LockRefusal::kEvery});
    rows.push_back({"a read-only file system", FileWith(""), [] {}, {"add", "denied", "1.2.3.4"}, 2,
                    "Data/GameConfig.dat: the file system is read-only; not saved, nothing changed", false,
                    StepFails<FileStep::kCheckWrite, FileProblem::kReadOnlyFileSystem>});
    rows.push_back({"a file the user may not write", FileWith(""), [] {}, {"add", "denied", "1.2.3.4"}, 2,
                    "Data/GameConfig.dat: you may not write it (permission denied); not saved, nothing changed", false,
                    StepFails<FileStep::kCheckWrite, FileProblem::kDenied>});
    rows.push_back({"a read-only file", FileWith(""), [] { fs::permissions("Data/GameConfig.dat", fs::perms::owner_read); },
                    {"add", "denied", "1.2.3.4"}, 2,
                    "Data/GameConfig.dat: the file is read-only; not saved, nothing changed", false});
    rows.push_back({"a file held so that it can be neither replaced nor written", FileWith(""), [] {},
                    {"add", "denied", "1.2.3.4"}, 75, "Data/GameConfig.dat: held by another program; not saved, nothing changed",
                    false, NeitherReplacedNorWritten});
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ScratchGameFolder folder;
        WriteText("Data/GameConfig.dat", row.file);
        WriteText("Data/GameConfig.dat.bak", backup);
        const std::string before = ReadText("Data/GameConfig.dat");
        row.prepare();
        SetFailingFileTest(row.fail);
        SetLockRefusalTest(row.lock);
        const InProcess result = RunHere(row.args);
        SetFailingFileTest(nullptr);
        SetLockRefusalTest(LockRefusal::kNone);
        fs::permissions("Data/GameConfig.dat", fs::perms::owner_read | fs::perms::owner_write);
        EXPECT_EQ(result.status, row.status) << result.err;
        if (row.says.empty()) {
            EXPECT_EQ(result.err.find("lock"), std::string::npos) << result.err;
        } else {
            EXPECT_NE(result.err.find(row.says), std::string::npos) << result.err;
        }
        const bool saved = ReadText("Data/GameConfig.dat") != before;
        EXPECT_EQ(saved, row.saved);
        EXPECT_EQ(ReadText("Data/GameConfig.dat.bak"), saved ? before : backup);
        EXPECT_EQ(testing_support::DataEntries(), (std::vector<std::string>{"GameConfig.dat", "GameConfig.dat.bak"}));
    }
}

}  // namespace

namespace {

// Output that cannot be written is a failure, said where that still works; a reader that
// stops reading is none.
TEST(QorcfgFileErrors, OutputThatCannotBeWrittenFailsAndAClosedPipeEndsQuietly) {
    enum Where { kOutFull, kOutClosed, kErrFull };
    const struct {
        std::vector<std::string> args;
        Where where;
        int status;
        const char* says;  // "" for nothing at all
    } rows[] = {
        {{"show"}, kOutFull, 2, "qorcfg: the output could not be written: No space left on device\n"},
        {{"show", "--json"}, kOutFull, 2, "qorcfg: the output could not be written: No space left on device\n"},
        {{"list", "denied"}, kOutFull, 2, "qorcfg: the output could not be written: No space left on device\n"},
        {{"export", "denied", "-"}, kOutFull, 2, "qorcfg: the output could not be written: No space left on device\n"},
        {{"show"}, kOutClosed, 0, ""},
        {{"list", "denied"}, kOutClosed, 0, ""},
        {{"add", "denied", "5.6.7.8"}, kErrFull, 2, nullptr},
    };
    ScratchGameFolder folder;
    WriteText("Data/GameConfig.dat", DefaultText());
    ASSERT_EQ(RunHere({"add", "denied", "1.2.3.4"}).status, 0);
    // A closed pipe signals nothing here, as where its signal is ignored (on Windows there
    // is none): the write itself says EPIPE.
    const auto previous = signal(SIGPIPE, SIG_IGN);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.args[0] + (row.where == kOutFull ? " > /dev/full" : row.where == kOutClosed ? " | closed" : " 2> /dev/full"));
        std::FILE* full = std::fopen("/dev/full", "w");
        int pipe_ends[2] = {-1, -1};
        ASSERT_EQ(pipe(pipe_ends), 0);
        close(pipe_ends[0]);
        std::FILE* closed = fdopen(pipe_ends[1], "w");
        std::FILE* err = row.where == kErrFull ? full : std::tmpfile();
        std::FILE* out = row.where == kOutFull ? full : row.where == kOutClosed ? closed : std::tmpfile();
        const InProcess result = RunHere(row.args, out, err);
        EXPECT_EQ(result.status, row.status);
        if (row.says != nullptr) {
            EXPECT_EQ(Drain(err), row.says);
        }
        for (std::FILE* file : {full, closed, err, out})
            if (file != full && file != closed) std::fclose(file);
        std::fclose(full);
        std::fclose(closed);
    }
    signal(SIGPIPE, previous);
    EXPECT_NE(ReadText("Data/GameConfig.dat").find(std::string("\x05\x00\x06\x00\x07\x00\x08\x00", 8)), std::string::npos)
        << "the save whose note could not be written was done";
}

// A save by another user (root) leaves the file, its backup and the lock file to the user
// who owned the file, with the file's mode, with links or with copies alike.
TEST(QorcfgFileErrors, TheFileKeepsItsOwner) {
    if (geteuid() != 0) GTEST_SKIP() << "only root may give a file to another user";
    constexpr uid_t kNobody = 65534;
    for (bool links : {true, false}) {
        SCOPED_TRACE(links ? "the backup a link" : "the backup a copy");
        ScratchGameFolder folder;
        WriteText("Data/GameConfig.dat", DefaultText());
        ASSERT_EQ(chown("Data/GameConfig.dat", kNobody, kNobody), 0);
        ASSERT_EQ(chmod("Data/GameConfig.dat", 0640), 0);
        SetNoLinksTest(!links);
        const InProcess result = RunHere({"add", "denied", "1.2.3.4"});
        SetNoLinksTest(false);
        ASSERT_EQ(result.status, 0) << result.err;
        for (const char* name : {"Data/GameConfig.dat", "Data/GameConfig.dat.bak", "Data/GameConfig.dat.lock"}) {
            SCOPED_TRACE(name);
            struct stat info;
            ASSERT_EQ(stat(name, &info), 0);
            EXPECT_EQ(info.st_uid, kNobody);
            EXPECT_EQ(info.st_gid, kNobody);
            if (std::string(name).ends_with(".lock")) continue;
            EXPECT_EQ(info.st_mode & 07777, 0640u);
        }
        EXPECT_NE(ReadText("Data/GameConfig.dat"), DefaultText());
    }
}

// Where the kernel has no locks of the open file, the classic lock of the process on the
// same byte keeps other processes out as well, and meets theirs; where no lock is
// possible at all, there is none to take and none to wait for.
TEST(QorcfgFileErrors, ALockTheFileSystemRefusesFallsBack) {
    ScratchGameFolder folder;
    // Another process's try at the lock, with its own choice of lock: 0 locked, 1 busy.
    auto other_process_tries = [](LockRefusal refusal) {
        const pid_t child = fork();
        if (child == 0) {
            SetLockRefusalTest(refusal);
            FileLock lock = kNoLock;
            _exit(TryLockFile("Data/GameConfig.dat.lock", lock) == LockResult::kLocked ? 0 : 1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    SetLockRefusalTest(LockRefusal::kOpenFileLocks);
    FileLock lock = kNoLock;
    ASSERT_EQ(TryLockFile("Data/GameConfig.dat.lock", lock), LockResult::kLocked);
    EXPECT_EQ(other_process_tries(LockRefusal::kNone), 1) << "a lock of the open file meets the process's lock";
    EXPECT_EQ(other_process_tries(LockRefusal::kOpenFileLocks), 1) << "two processes' locks meet";
    ReleaseLock(lock);
    EXPECT_EQ(other_process_tries(LockRefusal::kNone), 0) << "released with its descriptor";

    SetLockRefusalTest(LockRefusal::kEvery);
    EXPECT_EQ(TryLockFile("Data/GameConfig.dat.lock", lock), LockResult::kImpossible);
    EXPECT_EQ(lock, kNoLock);
    SetLockRefusalTest(LockRefusal::kNone);
}

}  // namespace
