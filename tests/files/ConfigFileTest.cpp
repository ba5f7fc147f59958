#include "files/ConfigFile.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "app/MainCommands.h"
#include "files/ConfigEntries.h"
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

// Defaults first, then every whole record in file order: a later record wins,
// Amplitude sets Conversion as well, indices outside 1..33 and a torn last
// record are skipped.
TEST_F(ConfigFileTest, RecordsApplyInFileOrderOverTheDefaults) {
    OscSettings.Acc_Over = 7;
    OscState.LoadedLength = 5;
    EXPECT_EQ(LoadConfig(), 0);
    OscSettingsRecord expected{};
    EXPECT_EQ(std::memcmp(&OscSettings, &expected, sizeof expected), 0);
    EXPECT_EQ(std::pair(OscState.SamplePeriod, OscState.LoadedLength), std::pair(0.0125f, MaxData));

    WriteConfig(Record(18, 1000.0f) + Record(8, 1.5f) + Record(0, 99) + Record(34, 99) +
                Record(-5, 99) + Record(4, 9) + Record(4, 11) + Record(11, 40.0f) +
                Record(3, 5).substr(0, 7));
    EXPECT_EQ(LoadConfig(), 0);
    expected.Amplitude = 1000.0f;
    expected.Conversion = 1.5f;
    expected.Av_Over = 11;
    expected.BaseFreq = 40.0f;
    EXPECT_EQ(std::memcmp(&OscSettings, &expected, sizeof expected), 0);
    EXPECT_EQ(OscState.SamplePeriod, 0.025f);
    WriteConfig(Record(8, 1.5f) + Record(18, 1000.0f));
    ResetOscSettings();
    LoadConfig();
    EXPECT_EQ(OscSettings.Conversion, 3.90625f);
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

TEST_F(ConfigFileTest, HostileValuesAreBroughtIntoRange) {
    std::ifstream table(std::string(KORVEL_TEST_DATA_DIR) + "/files/config_values.txt");
    int rows = 0;
    for (std::string line; std::getline(table, line);) {
        std::istringstream row(line);
        int32_t index;
        std::string type, stored, kept;
        if (line[0] == '#' || !(row >> index >> type >> stored >> kept)) continue;
        ++rows;
        const bool isFloat = type == "f";
        WriteConfig(isFloat ? Record(index, std::strtof(stored.c_str(), nullptr))
                            : Record(index, static_cast<int32_t>(std::stoll(stored))));
        ResetOscSettings();
        LoadConfig();
        const ConfigEntry entry = GetConfigEntry(index);
        if (isFloat) {
            EXPECT_EQ(*entry.floatField, std::strtof(kept.c_str(), nullptr)) << line;
        } else {
            EXPECT_EQ(*entry.intField, std::stoi(kept)) << line;
        }
        EXPECT_EQ(OscState.SamplePeriod, static_cast<float>(1.0 / OscSettings.BaseFreq)) << line;
    }
    EXPECT_EQ(rows, 49);

    // Damaged files: nothing, a torn record, random bytes.
    std::mt19937 random(1);
    std::string garbage(1 << 20, '\0');
    for (char& c : garbage)
        c = static_cast<char>(random());
    for (const std::string& bytes : {std::string(), std::string(7, '\xff'), garbage}) {
        WriteConfig(bytes);
        EXPECT_EQ(LoadConfig(), 0);
        EXPECT_TRUE(OscSettings.Num_Data >= 1 && OscSettings.Num_Data <= MaxData);
        EXPECT_TRUE(OscSettings.Korv_Freq >= 0 && OscSettings.Korv_Freq <= 3);
        EXPECT_TRUE(std::isfinite(OscState.SamplePeriod) && OscState.SamplePeriod > 0.0f);
    }
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
