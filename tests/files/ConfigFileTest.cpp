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
#include <random>
#include <set>
#include <utility>

#include "app/MainCommands.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "app/StartUp.h"
#include "model/SettingFields.h"
#include "support/CoreTest.h"

namespace korvel {
namespace {

// One 8-byte record: little-endian index, then the value's 32 bits.
std::string Record(int32_t index, int32_t bits) {
    std::string bytes(8, '\0');
    for (int k = 0; k < 4; ++k) {
        bytes[k] = static_cast<char>(static_cast<uint32_t>(index) >> (8 * k));
        bytes[4 + k] = static_cast<char>(static_cast<uint32_t>(bits) >> (8 * k));
    }
    return bytes;
}

std::string Record(int32_t index, float value) {
    int32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return Record(index, bits);
}

class ConfigFileTest : public test::CoreTest {
  protected:
    void WriteConfig(const std::string& bytes) { WriteFile("config/korvel/korvel.ini", bytes); }
    std::string ConfigBytes() { return ReadFile(ConfigFilePath()); }
};

TEST_F(ConfigFileTest, PathFollowsXdgConfigHome) {
    EXPECT_EQ(ConfigFilePath(), TempDir() + "/config/korvel/korvel.ini");
    setenv("XDG_CONFIG_HOME", "relative/path", 1);
    setenv("HOME", TempDir().c_str(), 1);
    EXPECT_EQ(ConfigFilePath(), TempDir() + "/.config/korvel/korvel.ini");
}

TEST_F(ConfigFileTest, TheTableNamesEveryFieldOnce) {
    std::set<void*> fields;
    for (int32_t index = 1; index <= ConfigEntryCount; ++index) {
        const ConfigEntry entry = GetConfigEntry(index);
        EXPECT_EQ(entry.index, index);
        EXPECT_TRUE(fields.insert(entry.field()).second) << entry.key;
    }
    EXPECT_EQ(fields.size() * 4, sizeof(OscSettingsRecord));
    EXPECT_STREQ(GetConfigEntry(13).key, "FreqDiv0");
    EXPECT_EQ(GetConfigEntry(29).type, ConfigValueType::Float);
    for (int32_t outside : {0, 34, -1}) {
        const ConfigEntry none = GetConfigEntry(outside);
        EXPECT_EQ(none.index, 0);
        EXPECT_EQ(none.field(), nullptr);
        EXPECT_STREQ(none.key, "");
    }
}

TEST_F(ConfigFileTest, NoFileGivesTheDefaults) {
    OscSettings.Acc_Over = 7;
    LoadConfig();
    const OscSettingsRecord defaults{};
    EXPECT_EQ(std::memcmp(&OscSettings, &defaults, sizeof defaults), 0);
    EXPECT_EQ(OscState.SamplePeriod, 0.0125f);
    EXPECT_EQ(OscSettings.Korv_Freq, 0);
    EXPECT_EQ(OscSettings.Num_Data, 65534);
    EXPECT_EQ(OscSettings.Av_Over, 3);
    EXPECT_EQ(OscSettings.Conversion, 7.8125f);
    EXPECT_EQ(OscState.LoadedLength, MaxData);
}

TEST_F(ConfigFileTest, TwelveBytesApplyTheFirstRecord) {
    WriteConfig(Record(3, 5) + std::string("\x04\x00\x00\x00", 4));
    LoadConfig();
    EXPECT_EQ(OscSettings.Acc_Over, 5);
    EXPECT_EQ(OscSettings.Av_Over, 3);
}

TEST_F(ConfigFileTest, AmplitudeRecordSetsConversion) {
    WriteConfig(Record(18, 1000.0f));
    LoadConfig();
    EXPECT_EQ(OscSettings.Amplitude, 1000.0f);
    EXPECT_EQ(OscSettings.Conversion, 3.90625f);
}

TEST_F(ConfigFileTest, LaterRecordsWin) {
    WriteConfig(Record(18, 1000.0f) + Record(8, 1.5f));
    LoadConfig();
    EXPECT_EQ(OscSettings.Conversion, 1.5f);
    WriteConfig(Record(8, 1.5f) + Record(18, 1000.0f) + Record(4, 9) + Record(4, 11));
    LoadConfig();
    EXPECT_EQ(OscSettings.Conversion, 3.90625f);
    EXPECT_EQ(OscSettings.Av_Over, 11);
}

TEST_F(ConfigFileTest, UnknownIndicesAreSkipped) {
    WriteConfig(Record(3, 4) + Record(0, 99) + Record(34, 99) + Record(-5, 99) + Record(24, 1));
    LoadConfig();
    EXPECT_EQ(OscSettings.Acc_Over, 4);
    EXPECT_EQ(OscSettings.Grid, 1);
}

TEST_F(ConfigFileTest, BaseFrequencyRecordSetsTheSamplePeriod) {
    WriteConfig(Record(11, 40.0f));
    LoadConfig();
    EXPECT_EQ(OscState.SamplePeriod, 0.025f);
}

TEST_F(ConfigFileTest, StartUpComputesThePeriodFromTheBaseClockAlone) {
    // The frequency index counts only once the main window selects it.
    WriteConfig(Record(11, 40.0f) + Record(2, 2));
    StartUp();
    EXPECT_EQ(OscSettings.Korv_Freq, 2);
    EXPECT_EQ(OscState.SamplePeriod, 0.025f);
}

TEST_F(ConfigFileTest, WritesThirtyThreeRecordsInOrder) {
    OscSettings.Acc_Over = 12;
    OscSettings.Osc_Freq = 3.5f;
    ASSERT_EQ(SaveConfig(), ConfigSave::Written);
    const std::string bytes = ConfigBytes();
    ASSERT_EQ(bytes.size(), 264u);
    for (int32_t index = 1; index <= 33; ++index) {
        int32_t stored;
        std::memcpy(&stored, bytes.data() + 8 * (index - 1), 4);
        EXPECT_EQ(stored, index);
    }
    EXPECT_EQ(bytes.substr(8 * 2, 8), Record(3, 12));
    EXPECT_EQ(bytes.substr(8 * 28, 8), Record(29, 3.5f));
}

TEST_F(ConfigFileTest, SaveAndLoadAgainKeepsEveryBit) {
    OscSettingsRecord& s = OscSettings;
    s.BaseAddr = 0x31C;
    s.Korv_Freq = 2;
    s.Acc_Over = 17;
    s.Av_Over = 101;
    s.D_min = -12.25f;
    s.D_max = 0.1f;
    s.AutoNorm = 0;
    s.Bipolar = 0;
    s.Invert = 1;
    s.BaseFreq = 66.6f;
    s.AutoConf = 1;
    s.FreqDiv[0] = 3;
    s.FreqDiv[3] = 11;
    s.Sound = 1;
    s.Amplitude = 1234.5f;
    s.Conversion = 99.0f;  // not kept: loading derives it from Amplitude
    s.ZeroLevel = 18.3f;
    s.Labels_X = 7;
    s.Labels_Y = 4;
    s.Data_S = 100;
    s.Data_E = 2000;
    s.Grid = 1;
    s.Follow_Mode = 1;
    s.Prehistory = 100;
    s.Num_Data = 4000;
    s.Osc_Mode = 1;
    s.Osc_Freq = 3.3333333f;
    s.LFontSize = 10;
    s.MFontSize = 0;
    s.V_Acc = 2;
    s.T_Acc = 5;
    OscSettingsRecord saved = s;
    ASSERT_EQ(SaveConfig(), ConfigSave::Written);
    ResetOscSettings();
    LoadConfig();
    saved.Conversion = static_cast<float>(1234.5f * 0.00390625);
    EXPECT_EQ(std::memcmp(&OscSettings, &saved, sizeof saved), 0);
    EXPECT_EQ(OscState.SamplePeriod, static_cast<float>(1.0 / 66.6f));
}

TEST_F(ConfigFileTest, HostileFilesLoadWithoutHarm) {
    std::mt19937 random(1);
    std::string garbage(1 << 20, '\0');
    for (char& c : garbage)
        c = static_cast<char>(random());
    for (const std::string& bytes : {std::string(), std::string(7, '\xff'), garbage}) {
        WriteConfig(bytes);
        LoadConfig();
        EXPECT_GE(OscSettings.Num_Data, 1);
        EXPECT_LE(OscSettings.Num_Data, MaxData);
        EXPECT_GE(OscSettings.Korv_Freq, 0);
        EXPECT_LE(OscSettings.Korv_Freq, 3);
        EXPECT_GT(OscState.SamplePeriod, 0.0f);
        EXPECT_TRUE(std::isfinite(OscState.SamplePeriod));
    }
}

TEST_F(ConfigFileTest, AbsurdValuesAreBroughtIntoRange) {
    WriteConfig(Record(27, 0) + Record(2, 7) + Record(11, 0.0f) + Record(13, 0) + Record(14, -4) +
                Record(30, 99) + Record(31, -2) + Record(20, 1) + Record(21, 0) + Record(32, 0) +
                Record(33, 1000) + Record(29, -1.0f) + Record(3, 0) + Record(4, -7) +
                Record(26, 300) + Record(24, 5) + Record(5, NAN) + Record(18, INFINITY));
    LoadConfig();
    const OscSettingsRecord d{};
    EXPECT_EQ(OscSettings.Num_Data, d.Num_Data);    // none: default
    EXPECT_EQ(OscSettings.Korv_Freq, d.Korv_Freq);  // not an index: default
    EXPECT_EQ(OscSettings.BaseFreq, d.BaseFreq);    // no clock: default
    EXPECT_EQ(OscSettings.FreqDiv[0], 1);           // no divider: default
    EXPECT_EQ(OscSettings.FreqDiv[1], 2);
    EXPECT_EQ(OscSettings.LFontSize, 10);  // largest font
    EXPECT_EQ(OscSettings.MFontSize, 0);   // smallest font
    EXPECT_EQ(OscSettings.Labels_X, 1);    // one label is a count
    EXPECT_EQ(OscSettings.Labels_Y, 10);   // none: default
    EXPECT_EQ(OscSettings.V_Acc, 1);
    EXPECT_EQ(OscSettings.T_Acc, 9);
    EXPECT_EQ(OscSettings.Osc_Freq, 2.0f);
    EXPECT_EQ(OscSettings.Acc_Over, 1);
    EXPECT_EQ(OscSettings.Av_Over, 3);
    EXPECT_EQ(OscSettings.Prehistory, 255);
    EXPECT_EQ(OscSettings.Grid, 1);
    EXPECT_EQ(OscSettings.D_min, 0.0f);
    EXPECT_EQ(OscSettings.Amplitude, 2000.0f);
    EXPECT_EQ(OscState.SamplePeriod, 0.0125f);

    WriteConfig(Record(27, 1000000000) + Record(29, 1e9f) + Record(3, 2000000000) +
                Record(20, 500));
    LoadConfig();
    EXPECT_EQ(OscSettings.Num_Data, MaxData);
    EXPECT_EQ(OscSettings.Osc_Freq, 1000.0f);
    EXPECT_EQ(OscSettings.Acc_Over, 100000);
    EXPECT_EQ(OscSettings.Labels_X, 100);
}

// Values at the edge of what the program can show are kept as they are. A
// base clock is kept while every divider turns it into an ordinary period;
// one that is no number, or gives an infinite or denormal period, is not.
TEST_F(ConfigFileTest, EdgeValuesAreKeptAndUnusableClocksRefused) {
    const struct {
        float stored;
        float kept;
    } clocks[] = {{-80.0f, 80.0f},    {0.0f, 80.0f},   {NAN, 80.0f},   {INFINITY, 80.0f},
                  {-INFINITY, 80.0f}, {1e-44f, 80.0f}, {1e38f, 80.0f}, {1e-30f, 1e-30f},
                  {1e9f, 1e9f},       {40.0f, 40.0f}};
    for (const auto& clock : clocks) {
        WriteConfig(Record(11, clock.stored));
        LoadConfig();
        EXPECT_EQ(OscSettings.BaseFreq, clock.kept) << clock.stored;
        EXPECT_EQ(OscState.SamplePeriod, static_cast<float>(1.0 / clock.kept)) << clock.stored;
    }
    for (const auto& [stored, kept] :
         {std::pair(0.0f, 2.0f), std::pair(1e9f, 1000.0f), std::pair(0.001f, 0.001f)}) {
        WriteConfig(Record(29, stored));
        LoadConfig();
        EXPECT_EQ(OscSettings.Osc_Freq, kept) << stored;
    }
    for (int32_t length : {1, 2}) {
        WriteConfig(Record(27, length) + Record(20, 1) + Record(21, 1) + Record(7, 0) +
                    Record(5, 200.0f) + Record(6, 200.0f) + Record(16, -1) + Record(15, 0));
        LoadConfig();
        EXPECT_EQ(OscSettings.Num_Data, length);
        EXPECT_EQ(std::pair(OscSettings.Labels_X, OscSettings.Labels_Y), std::pair(1, 1));
        EXPECT_EQ(std::pair(OscSettings.D_min, OscSettings.D_max), std::pair(200.0f, 200.0f));
        EXPECT_EQ(std::pair(OscSettings.FreqDiv[2], OscSettings.FreqDiv[3]), std::pair(4, 8));
    }
}

// A file size limit below one configuration makes every write run out of
// room, as a full disk does, for root too.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit tiny = saved_;
        tiny.rlim_cur = bytes;
        EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }

  private:
    rlimit saved_{};
};

TEST_F(ConfigFileTest, FullDiskLeavesTheOldFileAndSaveSettingsSaysSo) {
    OscSettings.Acc_Over = 3;
    ASSERT_EQ(SaveSettingsCommand(), ConfigSave::Written);
    EXPECT_TRUE(ports.dialogs.messages.empty());
    const std::string before = ConfigBytes();
    signal(SIGXFSZ, SIG_IGN);
    for (int32_t russian : {0, 1}) {
        OscState.Russian = russian;
        OscSettings.Acc_Over = 9;
        ConfigSave result = ConfigSave::Written;
        {
            FileSizeLimit full(100);
            result = SaveSettingsCommand();
        }
        EXPECT_EQ(result, ConfigSave::Failed);
        EXPECT_EQ(OscSettings.Acc_Over, 9);  // memory keeps what the user set
        EXPECT_EQ(ConfigBytes(), before);
    }
    signal(SIGXFSZ, SIG_DFL);
    ASSERT_EQ(ports.dialogs.messages.size(), 2u);
    EXPECT_EQ(ports.dialogs.messages[0].text, "Error saving configuration file");
    EXPECT_EQ(ports.dialogs.messages[1].text, "Ошибка сохранения файла конфигурации");
    EXPECT_EQ(ports.dialogs.messages[1].caption, "(default)");
    // No half-written file is left behind.
    const std::string folder = TempDir() + "/config/korvel";
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                            std::filesystem::directory_iterator()),
              1);
    // The exit hook fails as quietly as it succeeds.
    OscSettings.AutoConf = 1;
    {
        signal(SIGXFSZ, SIG_IGN);
        FileSizeLimit full(100);
        SaveConfigOnExit();
    }
    signal(SIGXFSZ, SIG_DFL);
    EXPECT_EQ(ports.dialogs.messages.size(), 2u);
    EXPECT_EQ(ConfigBytes(), before);
}

TEST_F(ConfigFileTest, ReadOnlyFolderLeavesTheOldFile) {
    OscSettings.Acc_Over = 3;
    ASSERT_EQ(SaveConfig(), ConfigSave::Written);
    const std::string before = ConfigBytes();
    const std::string folder = TempDir() + "/config/korvel";
    ASSERT_EQ(chmod(folder.c_str(), 0500), 0);
    OscSettings.Acc_Over = 9;
    ConfigSave result = ConfigSave::Written;
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
        // Nothing else may run meanwhile: even the sanitizers need descriptors.
        ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &none), 0);
        result = SaveConfig();
        setrlimit(RLIMIT_NOFILE, &saved);
    }
    chmod(folder.c_str(), 0700);
    EXPECT_EQ(result, ConfigSave::Failed);
    EXPECT_EQ(ConfigBytes(), before);
    EXPECT_EQ(std::filesystem::directory_iterator(folder)->path().filename(), "korvel.ini");
}

// A save killed half way through its write, as a crash or a power cut would
// end it: the old file is still there, whole, and loads as before.
TEST_F(ConfigFileTest, SaveKilledHalfWayLeavesTheOldFileWhole) {
    OscSettings.Acc_Over = 3;
    OscSettings.Labels_X = 7;
    ASSERT_EQ(SaveConfig(), ConfigSave::Written);
    const std::string before = ConfigBytes();
    OscSettings.Acc_Over = 9;
    OscSettings.Labels_X = 2;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The first 100 bytes reach the file, the next write ends the process.
        const rlimit noCore{0, 0};
        setrlimit(RLIMIT_CORE, &noCore);
        signal(SIGXFSZ, SIG_DFL);
        const rlimit tiny{100, RLIM_INFINITY};
        setrlimit(RLIMIT_FSIZE, &tiny);
        SaveConfig();
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGXFSZ);
    EXPECT_EQ(ConfigBytes(), before);
    LoadConfig();
    EXPECT_EQ(std::pair(OscSettings.Acc_Over, OscSettings.Labels_X), std::pair(3, 7));
    // The next save goes through as if nothing had happened.
    OscSettings.Acc_Over = 5;
    ASSERT_EQ(SaveConfig(), ConfigSave::Written);
    LoadConfig();
    EXPECT_EQ(OscSettings.Acc_Over, 5);
}

TEST_F(ConfigFileTest, SaveIntoAPathThatCannotBeAFolderFails) {
    // XDG_CONFIG_HOME names a file: the folder cannot be made.
    const std::string blocker = WriteFile("blocker", "x");
    setenv("XDG_CONFIG_HOME", blocker.c_str(), 1);
    EXPECT_EQ(SaveConfig(), ConfigSave::Failed);
    EXPECT_EQ(ReadFile(blocker), "x");
}

TEST_F(ConfigFileTest, SaveCreatesTheFolder) {
    setenv("XDG_CONFIG_HOME", (TempDir() + "/deep/er").c_str(), 1);
    EXPECT_EQ(SaveConfig(), ConfigSave::Written);
    EXPECT_EQ(ReadFile(TempDir() + "/deep/er/korvel/korvel.ini").size(), 264u);
}

}  // namespace
}  // namespace korvel
