#include "spectrum/SpectrumFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "model/OscState.h"
#include "spectrum/SpectrumFixture.h"
#include "spectrum/SpectrumView.h"

namespace korvel {
namespace {

uint32_t Bits(float value) {
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// The numbers of a spectrum file as a plotting tool reads them, '#' lines
// skipped: the bits of frequency and power, line by line.
std::vector<std::pair<uint32_t, uint32_t>> ReadBack(const std::string& text) {
    std::vector<std::pair<uint32_t, uint32_t>> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        float f = 0.0f, p = 0.0f;
        char rest = 0;
        if (line[0] == '#') continue;
        EXPECT_EQ(std::sscanf(line.c_str(), "%g %g %c", &f, &p, &rest), 2) << line;
        lines.emplace_back(Bits(f), Bits(p));
    }
    return lines;
}

// 1024 samples 0.0125 us apart: 512 bins 78.125 kHz apart, with powers
// that need every digit.
class SpectrumFileTest : public test::SpectrumTest {
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

TEST_F(SpectrumFileTest, ShownBinsReadBackAsTheSameFloats) {
    Type("1000", "780");  // bins 13 .. 23
    const std::string text = FormatSpectrumFile();
    const auto lines = ReadBack(text);
    ASSERT_EQ(lines.size(), 11u);
    for (int32_t k = 13; k <= 23; ++k) {
        EXPECT_EQ(lines[k - 13], std::pair(Bits(BinFrequency(k)), Bits(SpectrumView.Bins[k])));
    }
    EXPECT_EQ(lines[0].first, Bits(1015.625f));
    EXPECT_EQ(text.rfind("# KORVEL spectrum file", 0), 0u);
    EXPECT_NE(text.find("\n# Samples 100 to 1123 of the record (1024 samples), "
                        "sample period 0.0125000002 us\n# Spectra averaged: 1\n"),
              std::string::npos)
        << text;
    PutSpectrum({}, 1.0f);  // nothing shown: the comments alone
    Paint();
    EXPECT_TRUE(ReadBack(FormatSpectrumFile()).empty());
}

TEST_F(SpectrumFileTest, SaveAsksForAKsfFileAndReplacesIt) {
    const std::string path = WriteFile("old.ksf", "an older spectrum");
    ports.dialogs.saveAnswers.push_back({path, 1});
    SaveSpectrum();
    ASSERT_EQ(ports.dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(test::Describe(ports.dialogs.saveRequests[0]),
              "Save KORVEL spectrum to file|KORVEL specrum file *.ksf|All files *.*|1|ksf|.|ask");
    EXPECT_EQ(ReadFile(path), FormatSpectrumFile());

    OscState.Russian = 1;
    SaveSpectrum();  // no answer: Cancel
    EXPECT_EQ(
        test::Describe(ports.dialogs.saveRequests[1]),
        "Сохранить спектр KORVEL в файл|KORVEL спектральный файл *.ksf|Все файлы *.*|1|ksf|.|ask");
    EXPECT_TRUE(ports.dialogs.messages.empty());
}

TEST_F(SpectrumFileTest, NoDialogDuringARunAndAMessageForAnUnwritableFile) {
    OscState.SpectrumRunning = 1;
    SaveSpectrum();
    EXPECT_TRUE(ports.dialogs.saveRequests.empty());
    OscState.SpectrumRunning = 0;
    const std::string path = TempDir() + "/no such folder/s.ksf";
    ports.dialogs.saveAnswers.push_back({path, 1});
    SaveSpectrum();
    ASSERT_EQ(ports.dialogs.messages.size(), 1u);
    EXPECT_EQ(ports.dialogs.messages[0].text, "Cannot write the spectrum file\n" + path);
    EXPECT_EQ(ports.dialogs.messages[0].caption, "Spectrum");
}

}  // namespace
}  // namespace korvel
