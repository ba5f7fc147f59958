#include "files/ConfigFile.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <filesystem>

#include "app/MainCommands.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "support/CoreTest.h"

namespace korvel {
namespace {

// One 8-byte record: little-endian index, then the value's 32 bits.
std::string Record(int32_t index, uint32_t bits) {
    std::string bytes(8, '\0');
    for (int k = 0; k < 4; ++k) {
        bytes[k] = static_cast<char>(static_cast<uint32_t>(index) >> (8 * k));
        bytes[4 + k] = static_cast<char>(bits >> (8 * k));
    }
    return bytes;
}
std::string Record(int32_t index, int32_t value) {
    return Record(index, static_cast<uint32_t>(value));
}
std::string Record(int32_t index, float value) {
    return Record(index, std::bit_cast<uint32_t>(value));
}

int Entries(const std::string& folder) {
    return static_cast<int>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

// A file size limit below one configuration makes every write run out of
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

class ConfigFileTest : public test::CoreTest {
  protected:
    void WriteConfig(const std::string& bytes) { WriteFile("config/korvel/korvel.ini", bytes); }
    std::string ConfigBytes() { return ReadFile(ConfigFilePath()); }
    std::string Folder() { return TempDir() + "/config/korvel"; }
};

TEST_F(ConfigFileTest, PathFollowsXdgConfigHome) {
    EXPECT_EQ(ConfigFilePath(), TempDir() + "/config/korvel/korvel.ini");
    setenv("XDG_CONFIG_HOME", "relative/path", 1);
    setenv("HOME", TempDir().c_str(), 1);
    EXPECT_EQ(ConfigFilePath(), TempDir() + "/.config/korvel/korvel.ini");
}

TEST_F(ConfigFileTest, SaveAndLoadAgainKeepsEveryBit) {
    OscSettings = {
        0x31C, 2,       17,    101, -12.25f, 0.1f, 0,    99.0f, 0, 1,   66.6f, 1, {3, 5, 7, 11},
        1,     1234.5f, 18.3f, 7,   4,       100,  2000, 1,     1, 100, 4000,  1, 3.3333333f,
        10,    0,       2,     5};
    OscSettingsRecord saved = OscSettings;
    ASSERT_EQ(SaveConfig(), 0);
    const std::string bytes = ConfigBytes();
    ASSERT_EQ(bytes.size(), 264u);
    EXPECT_EQ(bytes.substr(0, 8), Record(1, 0x31C));
    EXPECT_EQ(bytes.substr(8 * 28, 8), Record(29, 3.3333333f));
    ResetOscSettings();
    LoadConfig();
    saved.Conversion = static_cast<float>(1234.5f * 0.00390625);  // derived from Amplitude
    EXPECT_EQ(std::memcmp(&OscSettings, &saved, sizeof saved), 0);
    EXPECT_EQ(OscState.SamplePeriod, static_cast<float>(1.0 / 66.6f));
}

// A save that fails, for want of room, of a writable folder or of any folder,
// leaves the old file whole and no stray file; "Save Settings" says so, the
// save on exit does not.
TEST_F(ConfigFileTest, AFailedSaveLeavesTheOldFile) {
    OscSettings.Acc_Over = 3;
    ASSERT_EQ(SaveSettingsCommand(), 0);
    const std::string before = ConfigBytes();
    OscSettings.Acc_Over = 9;
    for (int32_t russian : {0, 1}) {
        OscState.Russian = russian;
        FullDisk full;
        EXPECT_EQ(SaveSettingsCommand(), 1);
    }
    OscSettings.AutoConf = 1;
    {
        FullDisk full;
        SaveConfigOnExit();
    }
    ASSERT_EQ(ports.dialogs.messages.size(), 2u);
    EXPECT_EQ(ports.dialogs.messages[0].text, "Error saving configuration file");
    EXPECT_EQ(ports.dialogs.messages[1].text, "Ошибка сохранения файла конфигурации");
    EXPECT_EQ(ports.dialogs.messages[1].caption, "(default)");
    EXPECT_EQ(OscSettings.Acc_Over, 9);  // memory keeps what the user set
    EXPECT_EQ(ConfigBytes(), before);
    EXPECT_EQ(Entries(Folder()), 1);

    const std::string folder = Folder();
    ASSERT_EQ(chmod(folder.c_str(), 0500), 0);
    int32_t result;
    if (access(folder.c_str(), W_OK) != 0) {
        result = SaveConfig();
    } else {
        // Root writes into any folder. No file can be made when no descriptor
        // is left, which is where a read-only folder stops a save as well.
        rlimit saved{};
        getrlimit(RLIMIT_NOFILE, &saved);
        const int lowestFree = dup(0);
        close(lowestFree);
        rlimit none = saved;
        none.rlim_cur = static_cast<rlim_t>(lowestFree);
        ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &none), 0);
        result = SaveConfig();
        setrlimit(RLIMIT_NOFILE, &saved);
    }
    chmod(folder.c_str(), 0700);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(ConfigBytes(), before);
    EXPECT_EQ(Entries(Folder()), 1);

    // XDG_CONFIG_HOME names a file: the folder cannot be made. A deeper one is.
    const std::string blocker = WriteFile("blocker", "x");
    setenv("XDG_CONFIG_HOME", blocker.c_str(), 1);
    EXPECT_EQ(SaveConfig(), 1);
    EXPECT_EQ(ReadFile(blocker), "x");
    setenv("XDG_CONFIG_HOME", (TempDir() + "/deep/er").c_str(), 1);
    EXPECT_EQ(SaveConfig(), 0);
    EXPECT_EQ(ReadFile(TempDir() + "/deep/er/korvel/korvel.ini").size(), 264u);
}

// A save killed half way through its write, as a crash or a power cut would
// end it: the old file is still there, whole, and loads as before.
TEST_F(ConfigFileTest, SaveKilledHalfWayLeavesTheOldFileWhole) {
    OscSettings.Acc_Over = 3;
    ASSERT_EQ(SaveConfig(), 0);
    const std::string before = ConfigBytes();
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
    EXPECT_EQ(ConfigBytes(), before);
    LoadConfig();
    EXPECT_EQ(OscSettings.Acc_Over, 3);
    // The next save goes through as if nothing had happened.
    OscSettings.Acc_Over = 5;
    ASSERT_EQ(SaveConfig(), 0);
    LoadConfig();
    EXPECT_EQ(OscSettings.Acc_Over, 5);
}

}  // namespace
}  // namespace korvel
