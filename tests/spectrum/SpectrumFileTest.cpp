#include "spectrum/SpectrumFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "app/OscState.h"
#include "spectrum/SpectrumData.h"
#include "spectrum/SpectrumFixture.h"
#include "spectrum/SpectrumView.h"
#include "spectrum/SpectrumWindow.h"

namespace korvel {
namespace {

using test::SpectrumTest;

struct Line {
    float freqKHz;
    float power;
};

// The numbers of a spectrum file as a plotting tool reads them: '#' lines
// skipped, two numbers a line.
std::vector<Line> ReadBack(const std::string& text) {
    std::vector<Line> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        Line l{};
        char rest = 0;
        EXPECT_EQ(std::sscanf(line.c_str(), "%g %g %c", &l.freqKHz, &l.power, &rest), 2) << line;
        lines.push_back(l);
    }
    return lines;
}

bool SameBits(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

class SpectrumFileTest : public SpectrumTest {
  protected:
    // 1000 samples 0.0125 us apart give 512 bins 78.125 kHz apart; powers
    // that need every digit.
    void SetUp() override {
        SpectrumTest::SetUp();
        std::vector<float> bins(512);
        for (size_t k = 0; k < bins.size(); ++k)
            bins[k] = 1.0f / (3.0f + static_cast<float>(k)) + 1e-7f * static_cast<float>(k * k);
        PutSpectrum(bins, 78.125f);
        Open(512, 300);
    }
};

TEST_F(SpectrumFileTest, ShownBinsReadBackAsTheSameFloats) {
    Type("1000", "780");  // bins 13 .. 23
    const std::string text = FormatSpectrumFile();
    const std::vector<Line> lines = ReadBack(text);
    ASSERT_EQ(lines.size(), 11u);
    for (int32_t k = 13; k <= 23; ++k) {
        SCOPED_TRACE(k);
        EXPECT_TRUE(SameBits(lines[k - 13].freqKHz, BinFrequency(k)));
        EXPECT_TRUE(SameBits(lines[k - 13].power, SpectrumView.Bins[k]));
    }
    EXPECT_FLOAT_EQ(lines[0].freqKHz, 1015.625f);
    EXPECT_NE(text.find("# Samples 100 to 1123 of the record (1024 samples), "
                        "sample period 0.0125000002 us\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("# Spectra averaged: 1\n"), std::string::npos);
    EXPECT_EQ(text.rfind("# KORVEL spectrum file", 0), 0u);
}

TEST_F(SpectrumFileTest, SaveAsksForAKsfFileAndReplacesIt) {
    const std::string path = WriteFile("old.ksf", "an older spectrum");
    ports.dialogs.saveAnswers.push_back({path, 1});
    SaveSpectrum();
    ASSERT_EQ(ports.dialogs.saveRequests.size(), 1u);
    const FileDialogRequest& request = ports.dialogs.saveRequests[0];
    EXPECT_STREQ(request.title, "Save KORVEL spectrum to file");
    ASSERT_EQ(request.filterCount, 2);
    EXPECT_STREQ(request.filters[0].name, "KORVEL specrum file");
    EXPECT_STREQ(request.filters[0].pattern, "*.ksf");
    EXPECT_STREQ(request.filters[1].name, "All files");
    EXPECT_STREQ(request.filters[1].pattern, "*.*");
    EXPECT_EQ(request.selectedFilter, 1);
    EXPECT_STREQ(request.defaultExtension, "ksf");
    EXPECT_STREQ(request.initialDirectory, ".");
    EXPECT_TRUE(request.confirmOverwrite);
    EXPECT_EQ(ReadFile(path), FormatSpectrumFile());
    EXPECT_EQ(ReadBack(ReadFile(path)).size(), 512u);
    EXPECT_TRUE(ports.dialogs.messages.empty());
}

TEST_F(SpectrumFileTest, SaveDialogSpeaksRussian) {
    OscState.Russian = 1;
    SaveSpectrum();
    ASSERT_EQ(ports.dialogs.saveRequests.size(), 1u);
    const FileDialogRequest& request = ports.dialogs.saveRequests[0];
    EXPECT_STREQ(request.title, "Сохранить спектр KORVEL в файл");
    EXPECT_STREQ(request.filters[0].name, "KORVEL спектральный файл");
    EXPECT_STREQ(request.filters[1].name, "Все файлы");
}

TEST_F(SpectrumFileTest, CancelRunAndUnwritableFiles) {
    SaveSpectrum();  // no answer: Cancel
    EXPECT_TRUE(ports.dialogs.messages.empty());

    OscState.SpectrumRunning = 1;
    SaveSpectrum();
    EXPECT_EQ(ports.dialogs.saveRequests.size(), 1u);  // no dialog during a run
    OscState.SpectrumRunning = 0;

    const std::string path = TempDir() + "/no such folder/s.ksf";
    ports.dialogs.saveAnswers.push_back({path, 1});
    SaveSpectrum();
    ASSERT_EQ(ports.dialogs.messages.size(), 1u);
    EXPECT_EQ(ports.dialogs.messages[0].text, "Cannot write the spectrum file\n" + path);
    EXPECT_EQ(ports.dialogs.messages[0].caption, "Spectrum");
}

// Nothing shown, nothing written but the description.
TEST_F(SpectrumFileTest, SpectraWithoutBinsWriteOnlyTheComments) {
    PutSpectrum({}, 1.0f);
    Paint();
    const std::string text = FormatSpectrumFile();
    EXPECT_TRUE(ReadBack(text).empty());
    EXPECT_NE(text.find("# Samples 100 to 100 of the record (1 samples)"), std::string::npos);
}

}  // namespace
}  // namespace korvel
