#include "app/DataFileCommands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "acquisition/CaptureEngine.h"
#include "model/Parameters.h"
#include "app/ControlBarSetup.h"
#include "ports/ControlIds.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "display/Plot.h"
#include "display/PlotFixture.h"
#include "display/PlotState.h"
#include "display/PlotStyle.h"
#include "files/DataFileState.h"

namespace korvel {
namespace {

std::string Le(float value) {
    const uint32_t bits = std::bit_cast<uint32_t>(value);
    return {static_cast<char>(bits), static_cast<char>(bits >> 8), static_cast<char>(bits >> 16),
            static_cast<char>(bits >> 24)};
}

// File dialogs that also note whether the mouse was still tracked while they were open.
class WatchedDialogs : public test::FakeDialogs {
  public:
    bool OpenFileName(FileDialogRequest& request, char* path, size_t size) override {
        trackedWhileOpen.push_back(PlotState.TrackingOn);
        return FakeDialogs::OpenFileName(request, path, size);
    }
    bool SaveFileName(FileDialogRequest& request, char* path, size_t size) override {
        trackedWhileOpen.push_back(PlotState.TrackingOn);
        return FakeDialogs::SaveFileName(request, path, size);
    }
    std::vector<int32_t> trackedWhileOpen;
};

class DataFileCommandsTest : public test::PlotTest {
  protected:
    void SetUp() override {
        PlotTest::SetUp();
        Ports.dialogs = &dialogs;
        Prepare(640, 400);
        SetUpControlBars();
    }
    void Open(const std::string& path, int32_t filter = 1) {
        dialogs.openAnswers.push_back({path, filter});
        OpenCommand();
    }
    void Save(const std::string& path, int32_t filter = 1, bool window = false) {
        dialogs.saveAnswers.push_back({path, filter});
        window ? WinSaveCommand() : SaveCommand();
    }
    // A manual capture of the simulated source.
    void Capture() {
        OscState.ExtStart = 0;
        StartStop();
        ASSERT_EQ(OscState.FileView, 0);
    }
    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const auto& shown : dialogs.messages)
            texts.push_back(shown.text);
        return texts;
    }

    WatchedDialogs dialogs;
};

TEST_F(DataFileCommandsTest, OpenDialogAndCancel) {
    DataFiles.OpenFilterIndex = 2;
    Open("");
    ASSERT_EQ(dialogs.openRequests.size(), 1u);
    EXPECT_EQ(test::Describe(dialogs.openRequests[0]),
              "Read KORVEL data from file|KORVEL text file *.ktf|KORVEL Binary file *.kbf|"
              "All files *.*|2|ktf|.|replace");
    // Cancel: tracking back on, nothing else happens.
    EXPECT_EQ(dialogs.trackedWhileOpen, (std::vector<int32_t>{0}));
    EXPECT_EQ(PlotState.TrackingOn, 1);
    EXPECT_EQ(DataFiles.OpenFilterIndex, 2);
    EXPECT_EQ(ports.frame.title, "KORVEL Oscillograph Release 1.05");
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(ports.frame.plotShown, 0);

    OscState.Russian = 1;
    Open("");
    EXPECT_EQ(test::Describe(dialogs.openRequests[1]),
              "Прочитать данные KORVEL из файла|KORVEL текстовый файл *.ktf|"
              "KORVEL бинарный файл *.kbf|Все файлы *.*|2|ktf|.|replace");

    // Nothing at all while a periodic capture owns the display.
    OscState.SpectrumRunning = 1;
    Open("");
    OscState.SpectrumRunning = 0;
    OscState.OscRunning = 1;
    Open("");
    EXPECT_EQ(dialogs.openRequests.size(), 2u);
}

TEST_F(DataFileCommandsTest, OpenShowsTheFileAndItsSettings) {
    OscSettings.Av_Over = 1;
    std::string lines;
    for (int k = 0; k < 8; ++k)
        lines += std::to_string(k) + " " + std::to_string(k + 1) + "\n";
    const std::string path = WriteFile("dir.v2/shot.1.ktf", lines);
    WriteFile("dir.v2/shot.1.cf",
              "Korv_Freq = 2\nAcc_Over = 5\nFollow_Mode = 1\nOsc_Mode = 1\nOsc_Freq = 3.5\n"
              "Data_S = 1\nData_E = 2\nLFontSize = 0\n");
    ports.bottomBar.writes.clear();
    Open(path, 3);
    EXPECT_EQ(ports.frame.title, "KORVEL Oscillograph Release 1.05 : shot.1");
    EXPECT_STREQ(DataFiles.DataFileName, path.c_str());
    EXPECT_EQ(DataFiles.OpenFilterIndex, 3);
    EXPECT_EQ(ports.frame.pointers, (std::vector<Pointer>{Pointer::Hourglass, Pointer::Arrow}));
    EXPECT_TRUE(dialogs.messages.empty());

    // The record, on the file's own time scale; the companion's frequency
    // index is selected for the next capture.
    EXPECT_EQ(OscState.FileView, 1);
    EXPECT_EQ(OscSettings.Num_Data, 8);
    EXPECT_EQ(std::vector<float>(OscState.Record, OscState.Record + 8),
              (std::vector<float>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(OscState.SamplePeriod, 0.875f);
    EXPECT_EQ(OscSettings.Korv_Freq, 2);
    EXPECT_EQ(OscState.ViewMin, 1.0f);
    EXPECT_EQ(OscState.ViewMax, 8.0f);
    EXPECT_GT(ports.frame.plotShown, 0);
    EXPECT_EQ(PlotState.TrackingOn, 1);

    // The bars show the settings the companion file brought.
    test::FakeControls& top = ports.topBar;
    EXPECT_EQ(top[top::FrequencyList].items,
              (std::vector<std::string>{"80 Mhz", "40 Mhz", "20 Mhz", "10 Mhz"}));
    EXPECT_EQ(top[top::FrequencyList].selected, 2);
    EXPECT_FALSE(top[top::Progress].visible);
    EXPECT_TRUE(top[top::Oscillograf].checked);
    EXPECT_FALSE(top[top::ShowSpectrum].visible);
    EXPECT_EQ(top[top::OscFreq].text, "3.5");
    EXPECT_EQ(top[top::Accumulator].text, "5");
    EXPECT_EQ(ports.bottomBar[bottom::Average].text, "1");
    EXPECT_TRUE(ports.bottomBar[bottom::FollowMode].checked);
    EXPECT_EQ(LabelFont.Height(), 8);
    // The start and width as the refresh wrote them (samples 1..2 at the
    // companion's frequency), then the drawing of the file's first quarter
    // (samples 0..2 at the file's times).
    std::vector<std::string> fields;
    for (const auto& [id, text] : ports.bottomBar.writes)
        fields.push_back(text);
    EXPECT_EQ(fields, (std::vector<std::string>{"0.05", "0.05", "1", "0", "1.75"}));

    // A file saved with the oscillograph mode off brings the spectrum button back.
    WriteFile("dir.v2/shot.1.cf", "Osc_Mode = 0\n");
    OscState.Russian = 1;
    Open(path);
    EXPECT_TRUE(top[top::ShowSpectrum].visible);
    EXPECT_FALSE(top[top::Oscillograf].checked);
    EXPECT_EQ(ports.frame.title, "KORVEL Цифровой осциллограф, версия 1.05 : shot.1");
    EXPECT_EQ(DataFiles.OpenFilterIndex, 1);
}

TEST_F(DataFileCommandsTest, ForeignFilesKeepTheirOwnTimes) {
    Open(WriteFile("scope.txt", "# exported\n-5e-6 0.25\n-4e-6 0.5\n-3e-6 0.75\n-2e-6 1\n"));
    EXPECT_EQ(OscState.TimeOffset, -5e-6f);
    EXPECT_EQ(OscState.SamplePeriod, (-2e-6f - -5e-6f) / 4);
    std::string binary = "KFRF" + Le(0.5f) + Le(100.0f);
    for (int k = 0; k < 10; ++k)
        binary += Le(static_cast<float>(k));
    Open(WriteFile("run.kbf", binary), 2);
    EXPECT_EQ(OscState.SamplePeriod, 0.5f);
    EXPECT_EQ(OscState.TimeOffset, 100.0f);
    // Choosing a frequency in the main window puts it on that time scale.
    SetFrequencyIndex(1);
    EXPECT_EQ(OscState.SamplePeriod, 0.025f);
}

TEST_F(DataFileCommandsTest, AFileThatCannotBeReadIsToldAndClearsTheRecord) {
    // At start, with nothing captured, the record is cleared.
    std::fill(OscState.Record, OscState.Record + MaxData, 5.0f);
    const std::string missing = TempDir() + "/missing.ktf";
    Open(missing);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"Error reading KORVEL data"}));
    EXPECT_EQ(dialogs.messages[0].caption, "(default)");
    EXPECT_EQ(std::count(OscState.Record, OscState.Record + MaxData, 0.0f), MaxData);
    EXPECT_EQ(ports.frame.title, "KORVEL Oscillograph Release 1.05 : missing");
    EXPECT_STREQ(DataFiles.DataFileName, missing.c_str());
    EXPECT_EQ(OscState.FileView, 0);
    EXPECT_EQ(PlotState.TrackingOn, 1);
    EXPECT_GT(ports.frame.plotShown, 0);

    // After a capture the record shown is the capture's, on its time scale,
    // even when a binary header cut inside its first time brought a period.
    Capture();
    const std::vector<float> captured(OscState.Record, OscState.Record + MaxData);
    const float period = OscState.SamplePeriod;
    Open(WriteFile("cut.kbf", "KFRF" + Le(0.0f) + "\x01\x02"), 2);
    EXPECT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(OscState.SamplePeriod, period);
    EXPECT_EQ(std::vector<float>(OscState.Record, OscState.Record + MaxData), captured);
    OscState.Russian = 1;
    Open(WriteFile("empty.ktf", ""));
    EXPECT_EQ(dialogs.messages.back().text, "Ошибка чтения данных KORVEL");
}

TEST_F(DataFileCommandsTest, HostileFilesGiveTheMessageOrASaneRecord) {
    std::vector<std::pair<std::string, std::string>> files;
    const std::string header = "KFRF" + Le(0.25f) + Le(7.0f);
    for (size_t length = 0; length < header.size(); ++length)
        files.emplace_back("cut" + std::to_string(length) + ".kbf", header.substr(0, length));
    files.emplace_back("long.ktf", std::string(10'000'000, '7'));
    std::string pairs;
    while (pairs.size() < 10'000'000)
        pairs += "1 2 ";
    files.emplace_back("pairs.ktf", pairs + "\n");
    files.emplace_back("nan.ktf", "0 1\n1 nan\n2 3\n");
    files.emplace_back("inf.ktf", "0 1\n1 inf\n");
    files.emplace_back("inftime.ktf", "inf 1\n1 2\n");
    files.emplace_back("backwards.ktf", "3 1\n2 2\n1 3\n");
    files.emplace_back("one.ktf", "0 1\n");
    files.emplace_back("huge.ktf", "0 1e38\n1 -1e38\n2 3e38\n");
    files.emplace_back("nanperiod.kbf", "KFRF" + Le(NAN) + Le(0.0f) + Le(1.0f));
    files.emplace_back("noSamples.kbf", header);
    files.emplace_back("codes.kbf", "KDRF" + Le(1e30f) + Le(-1e30f) + Le(1e38f) + Le(0.0f) +
                                        std::string("\x7f\x80\x01", 3));
    std::mt19937 random(7);
    std::string garbage(200'000, '\0');
    for (char& c : garbage)
        c = static_cast<char>(random());
    files.emplace_back("garbage.ktf", garbage);
    garbage.replace(0, 4, "KDRU");
    files.emplace_back("garbage2.ktf", garbage);

    for (const auto& [name, bytes] : files) {
        const size_t messages = dialogs.messages.size();
        for (int32_t filter : {1, 2, 3}) {
            Open(WriteFile(name, bytes), filter);
            const OscStateRecord& s = OscState;
            if (dialogs.messages.size() == messages) {
                EXPECT_EQ(s.FileView, 1) << name;
                EXPECT_TRUE(std::isfinite(s.SamplePeriod) && s.SamplePeriod > 0.0f) << name;
                EXPECT_TRUE(std::isfinite(s.TimeOffset)) << name;
                EXPECT_TRUE(OscSettings.Num_Data >= 1 && OscSettings.Num_Data <= s.LoadedLength)
                    << name;
            }
            EXPECT_TRUE(std::isfinite(s.SamplePeriod) && s.SamplePeriod > 0.0f) << name;
        }
    }
    EXPECT_GE(dialogs.messages.size(), files.size());
}

TEST_F(DataFileCommandsTest, SaveDialogAndWhatIsWritten) {
    Capture();
    DataFiles.SaveFilterIndex = 2;
    Save("");
    ASSERT_EQ(dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(
        test::Describe(dialogs.saveRequests[0]),
        "Save KORVEL data to file|KORVEL text file *.ktf|KORVEL Binary file *.kbf|2|ktf|.|ask");
    EXPECT_EQ(dialogs.trackedWhileOpen, (std::vector<int32_t>{0}));
    EXPECT_EQ(PlotState.TrackingOn, 1);
    EXPECT_EQ(ports.frame.title, "KORVEL Oscillograph Release 1.05");

    Save(TempDir() + "/a.kbf", 2);
    EXPECT_EQ(ReadFile(TempDir() + "/a.kbf").substr(0, 4), "KFRF");
    EXPECT_EQ(ports.frame.title, "KORVEL Oscillograph Release 1.05 : a");
    EXPECT_EQ(DataFiles.SaveFilterIndex, 2);
    // The Russian interface offers "All files" too, which writes text, and
    // names the saved file in the English title.
    OscState.Russian = 1;
    Save(TempDir() + "/b.dat", 3);
    EXPECT_EQ(test::Describe(dialogs.saveRequests.back()),
              "Сохранить данные KORVEL в файл|KORVEL текстовый файл *.ktf|"
              "KORVEL бинарный файл *.kbf|Все файлы *.*|2|ktf|.|ask");
    EXPECT_EQ(ReadFile(TempDir() + "/b.dat").substr(0, 2), "0 ");
    EXPECT_EQ(ports.frame.title, "KORVEL Oscillograph Release 1.05 : b");
    EXPECT_STREQ(DataFiles.DataFileName, (TempDir() + "/b.dat").c_str());
    EXPECT_EQ(DataFiles.SaveFilterIndex, 3);
    EXPECT_TRUE(dialogs.messages.empty());

    // Files that cannot be written are named in the message.
    OscState.Russian = 0;
    Save(TempDir() + "/no/such/folder.ktf");
    WriteFile("blocked.cf/x", "");
    Save(TempDir() + "/blocked.ktf");
    EXPECT_EQ(Messages(),
              (std::vector<std::string>{"Error writing KORVEL data: " + TempDir() +
                                            "/no/such/folder.ktf" + " could not be written",
                                        "KORVEL data written, but the settings file " + TempDir() +
                                            "/blocked.cf" + " could not be written"}));
    EXPECT_EQ(dialogs.messages[0].caption, "(default)");

    OscState.OscRunning = 1;
    Save(TempDir() + "/c.ktf");
    Save(TempDir() + "/c.ktf", 1, true);
    EXPECT_EQ(dialogs.saveRequests.size(), 5u);
}

TEST_F(DataFileCommandsTest, CaptureSaveOpenGivesTheSameRecord) {
    OscSettings.Av_Over = 5;
    SetFrequencyIndex(2);
    Capture();
    OscSettings.Grid = 1;
    OscSettings.AutoNorm = 0;
    OscSettings.ZeroLevel = 0.5f;
    const OscSettingsRecord settings = OscSettings;
    std::vector<float> record(OscState.Record, OscState.Record + MaxData);
    const float period = OscState.SamplePeriod;

    for (int32_t filter : {1, 2}) {
        const std::string path = TempDir() + (filter == 1 ? "/rec.ktf" : "/rec.kbf");
        Save(path, filter);
        // Start again: defaults, no record.
        ResetOscSettings();
        std::fill(OscState.FileData, OscState.FileData + MaxData, 0.0f);
        SetFrequencyIndex(0);
        Open(path, 3);
        ASSERT_TRUE(dialogs.messages.empty());
        EXPECT_EQ(std::memcmp(OscState.FileData, record.data(), sizeof(float) * MaxData), 0);
        EXPECT_EQ(std::bit_cast<uint32_t>(OscState.SamplePeriod), std::bit_cast<uint32_t>(period));
        EXPECT_EQ(OscState.TimeOffset, 0.0f);
        OscSettingsRecord expected = settings;
        // The drawing of a file's record shows its first quarter.
        expected.Data_S = 0;
        expected.Data_E = MaxData / 4;
        EXPECT_EQ(std::memcmp(&OscSettings, &expected, sizeof expected), 0) << filter;
        // Back to the captured record for the next format.
        OscState.FileView = 0;
        std::copy(record.begin(), record.end(), OscState.Record);
        OscState.TimeOffset = 0.0f;
    }
}

TEST_F(DataFileCommandsTest, WinSaveStoresTheSubWindow) {
    SetFrequencyIndex(3);
    Capture();
    SetSubWindow(1000, 1999);
    ASSERT_EQ(OscSettings.Data_S, 1000);
    ASSERT_EQ(OscSettings.Data_E, 1999);
    std::vector<float> window(OscState.Record + 1000, OscState.Record + 2000);
    for (int32_t filter : {1, 2}) {
        const std::string path = TempDir() + (filter == 1 ? "/win.ktf" : "/win.kbf");
        Save(path, filter, true);
        Open(path, filter);
        ASSERT_TRUE(dialogs.messages.empty());
        EXPECT_EQ(OscSettings.Num_Data, 1000);
        EXPECT_EQ(std::memcmp(OscState.FileData, window.data(), sizeof(float) * 1000), 0);
        EXPECT_EQ(OscState.TimeOffset, 100.0f);
        EXPECT_EQ(OscState.SamplePeriod, 0.1f);
        // The next Win-save of this record stores its first quarter from 100 us on.
        OscState.FileView = 0;
        OscState.TimeOffset = 0.0f;
        OscSettings.Num_Data = MaxData;
        OscState.LoadedLength = MaxData;
        SetFrequencyIndex(3);
        std::copy(window.begin(), window.end(), OscState.Record + 1000);
        SetSubWindow(1000, 1999);
    }
}

}  // namespace
}  // namespace korvel
