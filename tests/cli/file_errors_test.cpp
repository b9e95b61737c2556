// What qorcfg says of files that are not what they should be, and of another writer that
// holds the save's lock: each named as what it is, none waited on for ever, nothing
// changed that the message says is unchanged.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
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

using testing_support::ReadText;
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
    char a[] = "qorcfg", b[] = "add", c[] = "denied", d[] = "1.2.3.4";
    char* argv[] = {a, b, c, d, nullptr};
    std::FILE* err = std::tmpfile();
    EXPECT_EQ(RunQorcfg(4, argv, stdout, err), kStatusTryAgain);
    std::rewind(err);
    std::string said;
    for (int ch; (ch = std::fgetc(err)) != EOF;) said += static_cast<char>(ch);
    std::fclose(err);
    EXPECT_NE(said.find("is saving it and did not finish within 5 seconds; nothing changed, try again"), std::string::npos)
        << said;
    EXPECT_EQ(ReadText("Data/GameConfig.dat"), DefaultText());
    EXPECT_FALSE(fs::exists("Data/GameConfig.dat.bak"));
    // The lock is the process's own to give back: released, the next save goes through.
    ReleaseLock(other);
    EXPECT_EQ(RunQorcfg(4, argv, stdout, stderr), kStatusDone);
    SetLockWaitForTests(kSaveLockWaitMs);
}

}  // namespace
