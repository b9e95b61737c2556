// A save whose harvest could not complete keeps the old file and reports the failure.
#include <gtest/gtest.h>

#include <filesystem>

#include "ui/config_file.h"
#include "config/game_config.h"
#include "support/config_layout.h"
#include "support/scratch_dir.h"

using testing_support::MessageRecorder;
using testing_support::ScratchGameFolder;

namespace {

bool HarvestThatRunsOutOfMemory() {
    game_config.allowed_only = 1;
    return false;
}

bool HarvestThatSucceeds() {
    game_config.allowed_only = 1;
    return true;
}

TEST(AbandonedSave, WritesNothingAndReportsTheSaveAsFailed) {
    ScratchGameFolder folder;
    MessageRecorder messages;
    ASSERT_TRUE(LoadConfig());
    const std::vector<std::uint8_t> before = folder.ReadConfig();
    messages.Clear();

    EXPECT_FALSE(SaveConfig(HarvestThatRunsOutOfMemory));
    EXPECT_EQ(messages.Messages(), std::vector<std::string>{"コンフィグファイルの保存に失敗しました"});
    EXPECT_EQ(folder.ReadConfig(), before);
    EXPECT_EQ(testing_support::DataEntries(), std::vector<std::string>{"GameConfig.dat"})
        << "no temporary file is left behind";

    // The next save is not affected.
    messages.Clear();
    EXPECT_TRUE(SaveConfig(HarvestThatSucceeds));
    EXPECT_TRUE(messages.Messages().empty());
    std::vector<std::uint8_t> after = folder.ReadConfig();
    ASSERT_EQ(after.size(), config_layout::kFileBytes);
    EXPECT_EQ(after[config_layout::kAllowedOnlyAt], 1);
}

}  // namespace
