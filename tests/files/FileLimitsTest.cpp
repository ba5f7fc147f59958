// Files at the limits. A save of korvel.ini or of a data file that fails, for
// want of room or of a writable folder, or that is killed half way, leaves
// the old files whole and no stray file behind. A data file too big to write
// out as a script case is read only so far: MaxData lines, a heading among
// them, and a long line in pieces of 499 characters, each a line of its own.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "app/MainCommands.h"
#include "files/ConfigFile.h"
#include "files/DataFileReader.h"
#include "files/DataFileState.h"
#include "files/DataFileWriter.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "support/CoreTest.h"

namespace korvel {
namespace {

// A file size limit below every file's size makes each write run out of
// room, as a full disk does, for root too.
struct FullDisk {
    rlimit saved{};
    FullDisk() {
        signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit tiny = saved;
        tiny.rlim_cur = 100;
        setrlimit(RLIMIT_FSIZE, &tiny);
    }
    ~FullDisk() {
        setrlimit(RLIMIT_FSIZE, &saved);
        signal(SIGXFSZ, SIG_DFL);
    }
};

class FileLimitsTest : public test::CoreTest {
  protected:
    std::string Ini() { return ReadFile(ConfigFilePath()); }
    int Entries(const std::string& folder) {
        return static_cast<int>(std::distance(std::filesystem::directory_iterator(folder), {}));
    }
};

TEST_F(FileLimitsTest, TheConfigurationLivesInXdgConfigHome) {
    EXPECT_EQ(ConfigFilePath(), TempDir() + "/config/korvel/korvel.ini");
    setenv("XDG_CONFIG_HOME", "relative/path", 1);  // not a valid one
    setenv("HOME", TempDir().c_str(), 1);
    EXPECT_EQ(ConfigFilePath(), TempDir() + "/.config/korvel/korvel.ini");
}

TEST_F(FileLimitsTest, AFullDiskLeavesTheOldFiles) {
    OscSettings.Num_Data = 5000;
    const std::string data = TempDir() + "/keep.ktf";
    ASSERT_TRUE(SaveConfig());
    ASSERT_EQ(WriteRecordFile(data.c_str(), SaveText).result, DataFileWritten);
    chmod(data.c_str(), 0640);
    const std::string ini = Ini(), text = ReadFile(data), cf = ReadFile(TempDir() + "/keep.cf");
    OscSettings.Acc_Over = 9;
    OscState.Record[0] = 42.0f;
    OscSettings.AutoConf = 1;
    {
        FullDisk full;
        EXPECT_FALSE(SaveConfig());
        SaveConfigOnExit();  // fails as quietly as it succeeds
        EXPECT_EQ(WriteRecordFile(data.c_str(), SaveText).result, DataFileNotWritten);
    }
    EXPECT_TRUE(ports.dialogs.messages.empty());
    EXPECT_EQ(OscSettings.Acc_Over, 9);  // memory keeps what the user set
    EXPECT_EQ(Ini(), ini);
    EXPECT_EQ(ReadFile(data), text);
    EXPECT_EQ(ReadFile(TempDir() + "/keep.cf"), cf);
    EXPECT_EQ(Entries(TempDir() + "/config/korvel"), 1);
    EXPECT_EQ(Entries(TempDir()), 3);  // config, keep.ktf, keep.cf
    // The next save goes through, and a file replaced keeps its permissions.
    ASSERT_EQ(WriteRecordFile(data.c_str(), SaveText).result, DataFileWritten);
    struct stat status {};
    stat(data.c_str(), &status);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
}

// A folder without write permission: root writes into any folder, so no
// descriptor is left either, which is where such a folder stops a save too.
TEST_F(FileLimitsTest, AReadOnlyFolderLeavesTheOldFile) {
    ASSERT_TRUE(SaveConfig());
    const std::string before = Ini(), folder = TempDir() + "/config/korvel";
    OscSettings.Acc_Over = 9;
    ASSERT_EQ(chmod(folder.c_str(), 0500), 0);
    rlimit saved{};
    getrlimit(RLIMIT_NOFILE, &saved);
    const int lowestFree = dup(0);
    close(lowestFree);
    rlimit none = saved;
    none.rlim_cur = static_cast<rlim_t>(lowestFree);
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &none), 0);
    const bool result = SaveConfig().ok();
    setrlimit(RLIMIT_NOFILE, &saved);
    chmod(folder.c_str(), 0700);
    EXPECT_FALSE(result);
    EXPECT_EQ(Ini(), before);
    EXPECT_EQ(Entries(folder), 1);
}

// A save killed half way through its write, as a crash or a power cut would
// end it: the old file is still there, whole, and loads as before.
TEST_F(FileLimitsTest, ASaveKilledHalfWayLeavesTheOldFileWhole) {
    OscSettings.Acc_Over = 3;
    ASSERT_TRUE(SaveConfig());
    const std::string before = Ini();
    OscSettings.Acc_Over = 9;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The first 100 bytes reach the file, the next write ends the process.
        const rlimit noCore{0, 0}, tiny{100, RLIM_INFINITY};
        setrlimit(RLIMIT_CORE, &noCore);
        signal(SIGXFSZ, SIG_DFL);
        setrlimit(RLIMIT_FSIZE, &tiny);
        SaveConfig();
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ);
    EXPECT_EQ(Ini(), before);
    LoadConfig();
    EXPECT_EQ(OscSettings.Acc_Over, 3);
    // The next save goes through as if nothing had happened.
    OscSettings.Acc_Over = 5;
    ASSERT_TRUE(SaveConfig());
    LoadConfig();
    EXPECT_EQ(OscSettings.Acc_Over, 5);
}

TEST_F(FileLimitsTest, TheReaderStopsAtMaxDataLinesOrPieces) {
    std::string text = "Heading\n";
    for (int k = 0; k < MaxData + 10; ++k)
        text += std::to_string(k) + " " + std::to_string(k % 251) + "\n";
    ASSERT_TRUE(SetDataFileName(WriteFile("long.ktf", text).c_str()));
    ASSERT_TRUE(ReadDataFile(DataFileText));
    ASSERT_EQ(OscState.LoadedLength, MaxData - 1);
    EXPECT_EQ(OscState.FileData[MaxData - 2], static_cast<float>((MaxData - 2) % 251));
    EXPECT_EQ(OscState.SamplePeriod, static_cast<float>(MaxData - 2) / (MaxData - 1));

    std::string line;  // 10 MB
    for (int k = 0; k < 21000; ++k) {
        std::string piece = std::to_string(k) + " " + std::to_string(k % 97);
        line += piece.append(499 - piece.size(), ' ');
    }
    WriteFile("long.ktf", line + "\n");
    ASSERT_TRUE(ReadDataFile(DataFileText));
    ASSERT_EQ(OscState.LoadedLength, 21000);
    for (int k = 0; k < 21000; ++k)
        ASSERT_EQ(OscState.FileData[k], static_cast<float>(k % 97)) << k;
}

}  // namespace
}  // namespace korvel
