// The server's files, and the data files the client receives from it, reach
// the disk before they replace the old ones.
#include "config/SyncRecorder.h"
#include "net/Communication.h"
#include "server/TextFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(ServerSave, TheFileIsSyncedBeforeTheRenameAndTheFolderAfterIt) {
    testing_support::ScopedWorkDir Dir;
    std::filesystem::create_directory("characters");
    testing_support::WriteFile("characters/mira.txt", "Level = 1\n");
    {
        SyncRecorder Sync("characters/mira.txt", 0, server::SetFileSyncFunction);
        server::WriteFileAtomically("characters/mira.txt", "Level = 2\n");
        ASSERT_EQ(Sync.Calls.size(), 2u);
        EXPECT_FALSE(Sync.Calls[0].Directory);
        EXPECT_EQ(Sync.Calls[0].Size, 10);
        EXPECT_EQ(Sync.Calls[0].Target, "Level = 1\n");
        EXPECT_TRUE(Sync.Calls[1].Directory);
        EXPECT_EQ(Sync.Calls[1].Target, "Level = 2\n");
    }
    // A disk that refuses the file: an error, and the old file stays.
    {
        SyncRecorder Refusing("characters/mira.txt", -1, server::SetFileSyncFunction);
        EXPECT_THROW(server::WriteFileAtomically("characters/mira.txt", "Level = 3\n"), server::FileError);
    }
    EXPECT_EQ(testing_support::ReadFile("characters/mira.txt"), "Level = 2\n");
    EXPECT_FALSE(std::filesystem::exists("characters/mira.txt.tmp"));
}

TEST(ServerSave, AReceivedDataFileIsOnTheDiskBeforeItIsInstalled) {
    testing_support::ScopedWorkDir Dir;
    const uint8_t Whole[5] = {1, 2, 3, 4, 5};
    SyncRecorder Sync("Vorna.spr");
    ASSERT_TRUE(WritePatchedFile(2, false, Whole, sizeof Whole, 0));
    ASSERT_EQ(Sync.Calls.size(), 1u);
    EXPECT_FALSE(Sync.Calls[0].Directory);
    EXPECT_EQ(Sync.Calls[0].Size, 5);
}

}  // namespace
