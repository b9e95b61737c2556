// Every file operation of a save, a Restore and an import stopped as a crash would stop
// it (the process killed, or the power lost with what was not flushed dropped or cut,
// and every folder entry not yet flushed undone): once the next start has finished or
// undone the interrupted save, the folder holds the old file with its old backup, or the
// new file with the file it replaced as the backup, and nothing else of the save's. And
// where the file itself is deleted after the crash (by a user, a cleaner, or a drive
// without a journal), the next start keeps the newest complete content the save left.
#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#endif

#include <cstdio>
#include <filesystem>
#include <functional>
#include <iostream>
#include <optional>
#include <string>

#include "config/config_codec.h"
#include "config/config_store.h"
#include "config/file_system.h"
#include "support/scratch_dir.h"
#ifndef _WIN32
#include "cli/qorcfg.h"
#endif

namespace {

namespace fs = std::filesystem;
using testing_support::DataEntries;
using testing_support::ReadBytes;
using Bytes = std::vector<std::uint8_t>;
using Found = std::optional<Bytes>;  // a file's bytes, or none when it is not there

Bytes FileWithBgm(int volume) {
    GameConfig c;
    NewFileConfig(c);
    c.options.bgm_volume = volume;
    c.denied_patterns.assign(300, AddressPattern{{10, 0, 0, 1}});
    Bytes bytes;
    EncodeConfig(c, bytes);
    return bytes;
}

Found Peek(const char* path) { return fs::exists(path) ? Found(ReadBytes(path)) : std::nullopt; }

void Write(const fs::path& path, const Bytes& bytes) {
    std::FILE* f = std::fopen(path.string().c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

struct Operation {
    const char* name;
    bool file_there;
    std::function<void(const char* path)> run;
};

void SaveExpectingTheFileRead(const char* path) {
    GameConfig config;
    NewFileConfig(config);
    FileStamp read;
    LoadConfigFile(path, config, nullptr, nullptr, &read);
    config.options.bgm_volume = 5;
    SaveConfigFile(path, config, &read);
}

// The same on a file system without hard links: the backup is a copy.
void SaveWithoutLinks(const char* path) {
    SetNoLinksTest(true);
    SaveExpectingTheFileRead(path);
    SetNoLinksTest(false);
}

#ifdef _WIN32
// Another program holds the file so that it cannot be replaced but can be written (as a C
// runtime opens it): the save writes it in place; `at_next_start` holds it through the
// next start too, which then finishes an interrupted write in place as well.
bool hold_at_next_start = false;
HANDLE HoldWithoutDeleteSharing() {
    return CreateFileW(L"Data\\GameConfig.dat", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}
void SaveWrittenInPlace(const char* path) {
    HANDLE holder = HoldWithoutDeleteSharing();
    SaveExpectingTheFileRead(path);
    CloseHandle(holder);
}
#endif

const Operation kOperations[] = {
    {"save of an existing file", true, SaveExpectingTheFileRead},
    {"save that creates the file", false, SaveExpectingTheFileRead},
    {"save without links", true, SaveWithoutLinks},
    {"restore", true, [](const char* path) {
         GameConfig config;
         RestoreConfigFile(path, config);
     }},
#ifdef _WIN32
    {"save written in place", true, SaveWrittenInPlace},
    {"save written in place, held at the next start too", true,
     [](const char* path) {
         hold_at_next_start = true;
         SaveWrittenInPlace(path);
     }},
#else
    {"qorcfg import", true, [](const char*) {
         Write("list.txt", {'1', '.', '2', '.', '3', '.', '4', '\n', '5', '.', '6', '.', '*', '.', '*', '\n'});
         char a[] = "qorcfg", b[] = "import", c[] = "denied", d[] = "list.txt";
         char* argv[] = {a, b, c, d};
         std::FILE* sink = std::tmpfile();
         RunQorcfg(4, argv, sink, sink);
         std::fclose(sink);
     }},
#endif
};

TEST(SaveCrash, EveryStepLeavesTheOldFileOrTheNewOneAndNothingThatStays) {
    const char* path = ConfigFilePath();
    const std::string backup = std::string(path) + ".bak";
    int rows = 0, lost = 0;
    for (const Operation& op : kOperations) {
        // The folder before: the file (version 1), its backup (version 0), a file that is
        // not ours; the folder after the operation, undisturbed, gives the new file.
        auto prepare = [&] {
            if (op.file_there) Write(path, FileWithBgm(1));
            if (op.file_there) Write(backup, FileWithBgm(0));
            Write("Data/GameConfig.dat.mine-1.tmp", {1});
        };
        Found old_backup, new_file, new_backup;
        int steps = 0;
        {
            testing_support::ScratchGameFolder folder;
            prepare();
            old_backup = Peek(backup.c_str());
            SimulateCrashAfter(0, CrashKind::kProcessDies);
            op.run(path);
            steps = FileStepsTaken();
            EndSimulatedCrash();
            new_file = Peek(path);
            new_backup = Peek(backup.c_str());
        }
        ASSERT_TRUE(new_file.has_value()) << op.name;
        std::cout << op.name << ": " << steps << " steps\n";
        for (CrashKind how : {CrashKind::kProcessDies, CrashKind::kPowerLostDropped, CrashKind::kPowerLostCut})
            for (bool file_deleted : {false, true})
                for (int step = 1; step <= steps; ++step) {
                    const char* kinds[] = {"process dies", "power lost, unflushed dropped", "power lost, unflushed cut"};
                    SCOPED_TRACE(std::string(op.name) + ", " + kinds[static_cast<int>(how)] + " after step " +
                                 std::to_string(step) + " of " + std::to_string(steps) +
                                 (file_deleted ? ", then the file deleted" : ""));
                    testing_support::ScratchGameFolder folder;
                    prepare();
                    const Found old_file = Peek(path);
#ifdef _WIN32
                    hold_at_next_start = false;
#endif
                    SimulateCrashAfter(step, how);
                    op.run(path);
                    EndSimulatedCrash();
                    ++rows;
                    // The newest content the save left whole beside the file.
                    Found left;
                    for (const Found& content : {old_file, new_file})
                        for (const char* name : {".new.tmp", ".old.tmp", ".put.tmp"})
                            if (content && Peek((std::string(path) + name).c_str()) == content) left = content;
                    if (file_deleted) std::filesystem::remove(path);
#ifdef _WIN32
                    HANDLE holder = hold_at_next_start ? HoldWithoutDeleteSharing() : INVALID_HANDLE_VALUE;
                    FinishInterruptedSave(path);  // what the next start does first
                    if (holder != INVALID_HANDLE_VALUE) CloseHandle(holder);
#else
                    FinishInterruptedSave(path);  // what the next start does first
#endif
                    const Found file = Peek(path);
                    const Found bak = Peek(backup.c_str());
                    GameConfig config;
                    bool kept = file_deleted ? !left || file == left || bak == left
                                             : ((file == old_file && bak == old_backup) || (file == new_file && bak == new_backup)) &&
                                                   (!file || LoadConfigFile(path, config) == LoadStatus::kOk);
                    NewFileConfig(config);
                    kept = SaveConfigFile(path, config).status == SaveStatus::kSaved && kept;
                    std::vector<std::string> left_names = {"GameConfig.dat", "GameConfig.dat.bak", "GameConfig.dat.mine-1.tmp"};
                    if (!file && !bak) left_names.erase(left_names.begin() + 1);
                    EXPECT_EQ(DataEntries(), left_names);
                    EXPECT_TRUE(kept) << "file " << (file == old_file ? "old" : file == new_file ? "new" : "other")
                                      << ", backup " << (bak == old_backup ? "old" : bak == new_backup ? "new" : "other");
                    lost += !kept || DataEntries() != left_names;
                }
    }
    EXPECT_EQ(lost, 0);
    std::cout << "crash table: " << rows << " rows (steps x 3 crash kinds x the file left or deleted, per "
                 "operation), " << lost << " lost\n";
}

}  // namespace
