// The spectrum file: the shown bins read back as the same floats, the save
// dialog, and a file that cannot be written.
#include "spectrum/SpectrumFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "model/OscState.h"
#include "spectrum/SpectrumFixture.h"
#include "spectrum/SpectrumView.h"

namespace korvel::test {
namespace {

// 1024 samples 0.0125 us apart: 512 bins 78.125 kHz apart, with powers that
// need every digit.
class SpectrumFileTest : public SpectrumTest {
  protected:
    void SetUp() override {
        SpectrumTest::SetUp();
        std::vector<float> bins(512);
        for (size_t k = 0; k < bins.size(); ++k)
            bins[k] = 1.0f / (3.0f + static_cast<float>(k)) + 1e-7f * static_cast<float>(k * k);
        PutSpectrum(bins, 78.125f);
        Open(512, 300);
    }
};

TEST_F(SpectrumFileTest, ShownBinsReadBackAsTheSameFloatsUnderTheirComments) {
    // The numbers as a plotting tool reads them, '#' lines skipped.
    auto rows = [](const std::string& text) {
        std::vector<std::pair<float, float>> out;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);) {
            float f = 0.0f, p = 0.0f;
            if (line[0] == '#') continue;
            EXPECT_EQ(std::sscanf(line.c_str(), "%g\t%g", &f, &p), 2) << line;
            out.emplace_back(f, p);
        }
        return out;
    };
    Type("1000", "780");  // bins 13 .. 23
    const std::string text = FormatSpectrumFile();
    EXPECT_EQ(text.substr(0, text.find("1015.625\t")),
              "# KORVEL spectrum file: power spectrum of a stretch of the record\n"
              "# Samples 100 to 1123 of the record (1024 samples), sample period 0.0125000002 us\n"
              "# Spectra averaged: 1\n# Frequency, kHz\tPower, mV^2\n");
    const auto read = rows(text);
    ASSERT_EQ(read.size(), 11u);
    for (int32_t k = 13; k <= 23; ++k)
        EXPECT_EQ(read[k - 13], std::pair(BinFrequency(k), SpectrumView.Bins[k])) << k;
    PutSpectrum({}, 1.0f);  // nothing shown: the comments alone
    Paint();
    EXPECT_TRUE(rows(FormatSpectrumFile()).empty());
}

TEST_F(SpectrumFileTest, SaveAsksForAKsfFileAndReplacesItOrSaysItCannot) {
    const std::string path = WriteFile("old.ksf", "an older spectrum");
    ports.dialogs.saveAnswers.push_back({path, 1});
    SaveSpectrum();
    ASSERT_EQ(ports.dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(Describe(ports.dialogs.saveRequests[0]),
              "Save KORVEL spectrum to file|KORVEL specrum file *.ksf|All files *.*|1|ksf|.|ask");
    EXPECT_EQ(ReadFile(path), FormatSpectrumFile());
    OscState.Russian = 1;
    SaveSpectrum();  // no answer: Cancel
    EXPECT_EQ(
        Describe(ports.dialogs.saveRequests[1]),
        "Сохранить спектр KORVEL в файл|KORVEL спектральный файл *.ksf|Все файлы *.*|1|ksf|.|ask");
    OscState.Russian = 0;
    OscState.SpectrumRunning = 1;  // no dialog during a run
    SaveSpectrum();
    EXPECT_EQ(ports.dialogs.saveRequests.size(), 2u);
    OscState.SpectrumRunning = 0;
    const std::string missing = TempDir() + "/no such folder/s.ksf";
    ports.dialogs.saveAnswers.push_back({missing, 1});
    SaveSpectrum();
    ASSERT_EQ(ports.dialogs.messages.size(), 1u);
    EXPECT_EQ(ports.dialogs.messages[0].text, "Cannot write the spectrum file\n" + missing);
    EXPECT_EQ(ports.dialogs.messages[0].caption, "Spectrum");
}

}  // namespace
}  // namespace korvel::test
