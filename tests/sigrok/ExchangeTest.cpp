// Other tools' files through libsigrok: records written and read back in
// each format, files of libsigrok's own making read, and files that are
// damaged, empty or not what their name says. sigrok-cli, as the
// independent client, reads the program's sessions and writes the demo's in
// tests/data/cli/cases.txt.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "files/sigrok/ExactMillivolts.h"
#include "files/sigrok/SigrokExchange.h"
#include "files/sigrok/SigrokExchangePort.h"
#include "files/sigrok/VoltScale.h"
#include "support/CoreTest.h"

namespace korvel {
namespace {

using test::CoreTest;

std::string DataFile(const std::string& name) {
    return std::string(KORVEL_TEST_DATA_DIR) + "/exchange/" + name;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t from = 0;
    for (size_t at; (at = text.find('\n', from)) != std::string::npos; from = at + 1)
        lines.push_back(text.substr(from, at - from));
    if (from < text.size()) lines.push_back(text.substr(from));
    return lines;
}

uint32_t Le32(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    std::memcpy(&value, bytes.data() + at, 4);
    return value;
}

class ExchangeTest : public CoreTest {
  protected:
    // Writes samples in format into a file of the temporary folder and
    // returns its path.
    std::string Written(ForeignFormat format, const std::vector<float>& samplesMv, double rateHz,
                        const std::string& name, const std::string& channel = "CH1") {
        std::string bytes;
        std::string error;
        EXPECT_TRUE(exchange.Write(format, samplesMv.data(), static_cast<int32_t>(samplesMv.size()),
                                   rateHz, channel, bytes, error))
            << error;
        return WriteFile(name, bytes);
    }

    ForeignRecord Read(const std::string& path, ForeignFormat format,
                       const std::string& channel = "", int32_t maxSamples = 1 << 20) {
        ForeignRecord record;
        std::string error;
        EXPECT_TRUE(exchange.Read(path, format, channel, maxSamples, record, error)) << error;
        return record;
    }

    std::string Refusal(const std::string& path, ForeignFormat format,
                        const std::string& channel = "") {
        ForeignRecord record;
        std::string error;
        EXPECT_FALSE(exchange.Read(path, format, channel, 100, record, error)) << path;
        EXPECT_TRUE(record.samplesMv.empty());
        return error;
    }

    SigrokExchange exchange;
};

// Whether a float of volts holds mv: its significand is below 1000/512
// (VoltScale.h).
bool VoltsHold(float mv) {
    int exponent = 0;
    return std::fabs(std::frexp(mv, &exponent)) < 1000.0 / 1024.0;
}

// Samples of the kind an instrument gives, whole volts, steps of 0.5 mV
// and a few values of no particular step, all where a float of volts holds
// them.
std::vector<float> CodeLikeSamples() {
    std::vector<float> samples = {-1000.0f, 2000.0f};
    for (int k = -2000; k <= 2000; k += 7) {
        const float mv = 0.5f * static_cast<float>(k);
        if (VoltsHold(mv)) samples.push_back(mv);
    }
    for (float value : {0.001f, -0.3333333f, 1234.5678f, 9999.0f, -10000.0f, 1e-20f, 3.0e7f})
        samples.push_back(value);
    return samples;
}

// ---------------------------------------------------------------- volts

TEST(VoltScale, EveryMillivoltFloatOfAnOctaveComesBackExactlyBelow1953125AndWithinOneUlpAbove) {
    int64_t inexact = 0;
    for (float mv = 1.0f; mv < 2.0f; mv = std::nextafter(mv, 3.0f)) {
        const float back = MillivoltsOfVolts(VoltsOfMillivolts(mv));
        if (back == mv) continue;
        ++inexact;
        ASSERT_GE(mv, 1.953125f) << mv;
        ASSERT_TRUE(back == std::nextafter(mv, 0.0f) || back == std::nextafter(mv, 3.0f)) << mv;
    }
    // Half of the floats from 1000/512 on: the volts there are twice as far apart.
    EXPECT_EQ(inexact, 191889);
    EXPECT_EQ(MillivoltsOfVolts(VoltsOfMillivolts(1.95312512f)), 1.95312524f);
}

TEST(VoltScale, ScalesOfUnits) {
    EXPECT_EQ(MillivoltsOf(0.25f, 1000.0), 250.0f);
    EXPECT_EQ(MillivoltsOf(0.1f, 1.0), 0.1f);
    EXPECT_EQ(MillivoltsOf(1500.0f, 0.001), 1.5f);
    EXPECT_EQ(VoltsOfMillivolts(-2500.0f), -2.5f);
}

// ---------------------------------------------------------------- sessions

TEST_F(ExchangeTest, SessionRoundTripIsBitForBitAtTheSameRate) {
    const std::vector<float> samples = CodeLikeSamples();
    const std::string path = Written(ForeignFormat::Session, samples, 1e6, "r.sr");
    EXPECT_EQ(ReadFile(path).substr(0, 4), std::string("PK\x03\x04", 4));

    const ForeignRecord record = Read(path, ForeignFormat::Session);
    EXPECT_EQ(record.channels, std::vector<std::string>{"CH1"});
    EXPECT_EQ(record.channel, "CH1");
    EXPECT_EQ(record.totalSamples, samples.size());
    EXPECT_EQ(record.sampleRateHz, 1e6);
    ASSERT_EQ(record.samplesMv.size(), samples.size());
    EXPECT_EQ(std::memcmp(record.samplesMv.data(), samples.data(), samples.size() * sizeof(float)),
              0);

    // Values no float of volts holds (significands from 1.953125) come back
    // bit for bit from the exact entry; a session another tool changed since
    // (here: its samples scaled) gives the volts' values instead.
    std::vector<float> hard;
    for (float v = 1990.0f; hard.size() < 4; v = std::nextafter(v, 3000.0f)) {
        if (MillivoltsOfVolts(VoltsOfMillivolts(v)) != v) hard.push_back(v);
    }
    hard.push_back(-hard[0]);
    const std::string exact = Written(ForeignFormat::Session, hard, 1e3, "x.sr");
    const ForeignRecord back = Read(exact, ForeignFormat::Session);
    ASSERT_EQ(back.samplesMv.size(), hard.size());
    EXPECT_EQ(std::memcmp(back.samplesMv.data(), hard.data(), hard.size() * sizeof(float)), 0);
    // Samples that no longer agree with the entry (another tool changed them)
    // stay as the session's volts give them.
    std::vector<float> changed(hard.size());
    for (size_t k = 0; k < hard.size(); ++k)
        changed[k] = MillivoltsOfVolts(VoltsOfMillivolts(hard[k]));
    changed[2] = 5.0f;
    const std::vector<float> before = changed;
    TakeExactMillivolts(exact, "CH1", changed);
    EXPECT_EQ(changed, before);
    changed[2] = MillivoltsOfVolts(VoltsOfMillivolts(hard[2]));
    TakeExactMillivolts(exact, "CH1", changed);
    EXPECT_EQ(changed, hard);
}

TEST_F(ExchangeTest, SessionKeepsTheFirstSamplesAndCountsAllAndRoundsTheRate) {
    std::vector<float> samples(1000);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<float>(i);
    const std::string path = Written(ForeignFormat::Session, samples, 333333.4, "r.sr", "Probe 2");

    ForeignRecord record = Read(path, ForeignFormat::Session, "Probe 2", 10);
    EXPECT_EQ(record.channel, "Probe 2");
    EXPECT_EQ(record.samplesMv, std::vector<float>(samples.begin(), samples.begin() + 10));
    EXPECT_EQ(record.totalSamples, 1000u);
    EXPECT_EQ(record.sampleRateHz, 333333.0);

    record = Read(path, ForeignFormat::Session, "", 0);
    EXPECT_TRUE(record.samplesMv.empty());
    EXPECT_EQ(record.totalSamples, 1000u);
}

TEST_F(ExchangeTest, SessionOfSeveralChannelsListsItsAnalogOnesAndReadsTheOneAsked) {
    // A0 and A1 of the demo device with its logic channel D0, at 250 kHz.
    const ForeignRecord first = Read(DataFile("mixed.sr"), ForeignFormat::Session);
    EXPECT_EQ(first.channels, (std::vector<std::string>{"A0", "A1"}));
    EXPECT_EQ(first.channel, "A0");
    EXPECT_EQ(first.sampleRateHz, 250e3);
    ASSERT_EQ(first.samplesMv.size(), 40u);
    EXPECT_EQ(first.samplesMv[4], -10000.0f);
    EXPECT_EQ(first.samplesMv[5], 10000.0f);

    // A1 is a sine of 20 samples a period.
    const ForeignRecord sine = Read(DataFile("mixed.sr"), ForeignFormat::Session, "A1");
    EXPECT_EQ(sine.channel, "A1");
    ASSERT_EQ(sine.samplesMv.size(), 40u);
    for (size_t i = 0; i < 40; ++i)
        EXPECT_NEAR(sine.samplesMv[i], 10000.0 * std::sin(2 * M_PI * i / 20.0), 0.01) << i;
}

// ---------------------------------------------------------------- WAV

TEST_F(ExchangeTest, WavIsFloatVoltsWithItsSizesSetAndReadsBackAsSessionsDo) {
    const std::vector<float> samples = CodeLikeSamples();
    const std::string path = Written(ForeignFormat::Wav, samples, 44100.4, "r.wav");
    const std::string bytes = ReadFile(path);
    ASSERT_EQ(bytes.size(), 46 + 4 * samples.size());
    EXPECT_EQ(bytes.substr(0, 4), "RIFF");
    EXPECT_EQ(Le32(bytes, 4), bytes.size() - 8);
    EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(Le32(bytes, 16), 18u);          // the format chunk's size
    EXPECT_EQ(Le32(bytes, 20), 0x00010003u);  // IEEE float, one channel
    EXPECT_EQ(Le32(bytes, 24), 44100u);       // the rate, rounded
    EXPECT_EQ(Le32(bytes, 28), 4 * 44100u);   // bytes a second
    EXPECT_EQ(Le32(bytes, 32), 0x00200004u);  // 4 bytes a frame, 32 bits
    EXPECT_EQ(bytes.substr(38, 4), "data");
    EXPECT_EQ(Le32(bytes, 42), 4 * samples.size());
    float first = 0.0f;
    std::memcpy(&first, bytes.data() + 46, 4);
    EXPECT_EQ(first, -1.0f);  // -1000 mV

    const ForeignRecord record = Read(path, ForeignFormat::Wav);
    EXPECT_EQ(record.channels, std::vector<std::string>{"CH1"});
    EXPECT_EQ(record.sampleRateHz, 44100.0);
    EXPECT_EQ(record.totalSamples, samples.size());
    EXPECT_EQ(record.samplesMv, samples);
}

TEST_F(ExchangeTest, WavOfIntegersIsFullScaleOneVoltAndItsSecondChannelIsThere) {
    // 16-bit frames (16384, -32768), (32767, 100), (-16384, 0), (0, 1) at
    // 48 kHz; libsigrok divides the codes by 32767.
    const ForeignRecord left = Read(DataFile("stereo-pcm16.wav"), ForeignFormat::Wav);
    EXPECT_EQ(left.channels, (std::vector<std::string>{"CH1", "CH2"}));
    EXPECT_EQ(left.sampleRateHz, 48000.0);
    EXPECT_EQ(left.totalSamples, 4u);
    auto mv = [](int code) { return MillivoltsOfVolts(static_cast<float>(code) / 32767.0f); };
    EXPECT_EQ(left.samplesMv, (std::vector<float>{mv(16384), 1000.0f, mv(-16384), 0.0f}));

    const ForeignRecord right = Read(DataFile("stereo-pcm16.wav"), ForeignFormat::Wav, "CH2", 3);
    EXPECT_EQ(right.channel, "CH2");
    EXPECT_EQ(right.totalSamples, 4u);
    EXPECT_EQ(right.samplesMv, (std::vector<float>{mv(-32768), mv(100), 0.0f}));
}

// ---------------------------------------------------------------- CSV

TEST_F(ExchangeTest, CsvIsLibsigroksWithTheRateInAComment) {
    const std::vector<float> samples = {1234.5678f, -0.001f, 12.5f, 10000.0f};
    const std::string text = ReadFile(Written(ForeignFormat::Csv, samples, 1e6, "r.csv"));
    const std::vector<std::string> lines = Lines(text);
    ASSERT_EQ(lines.size(), 9u) << text;
    EXPECT_EQ(lines[0], "; CSV generated by libsigrok 0.5.2");
    EXPECT_EQ(lines[1].substr(0, 15), "; from unknown ");
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 2, lines.end()),
              (std::vector<std::string>{"; Channels (1/1): CH1", "; Samplerate: 1 MHz", "V",
                                        "1.23457", "-1e-06", "0.0125", "10"}));
}

TEST_F(ExchangeTest, CsvRoundTripKeepsSixSignificantDigits) {
    std::vector<float> samples = CodeLikeSamples();
    samples.push_back(std::numeric_limits<float>::max() / 2000.0f);
    const std::string path = Written(ForeignFormat::Csv, samples, 44100.0, "r.csv");
    const ForeignRecord record = Read(path, ForeignFormat::Csv);
    EXPECT_EQ(record.channels, std::vector<std::string>{"CH1"});
    EXPECT_EQ(record.sampleRateHz, 44100.0);
    EXPECT_EQ(record.totalSamples, samples.size());
    ASSERT_EQ(record.samplesMv.size(), samples.size());
    for (size_t i = 0; i < samples.size(); ++i) {
        // "%g" rounds to 6 digits: at most half a unit of the 6th, 5e-6 of
        // the value, and the floats on the way add a few parts in 1e8.
        EXPECT_LE(std::fabs(record.samplesMv[i] - samples[i]), 5.2e-6 * std::fabs(samples[i]))
            << samples[i];
    }
    // Figures whose volts have six digits or fewer come back as they went.
    EXPECT_EQ(record.samplesMv[0], -1000.0f);
    const std::vector<float> brief = {12.5f, -0.001f, 250.0f, 3.5f, -7.0f};
    const ForeignRecord exact =
        Read(Written(ForeignFormat::Csv, brief, 1.0, "e.csv"), ForeignFormat::Csv);
    EXPECT_EQ(exact.samplesMv, brief);
    EXPECT_EQ(exact.sampleRateHz, 1.0);
}

struct CsvCase {
    const char* what;
    const char* text;
    const char* channel;  // asked for; "" the first
    std::vector<std::string> channels;
    const char* chosen;
    std::vector<float> samplesMv;
    double rateHz;
};

class CommonCsv : public ExchangeTest, public ::testing::WithParamInterface<CsvCase> {};

TEST_P(CommonCsv, Reads) {
    const CsvCase& c = GetParam();
    const ForeignRecord record = Read(WriteFile("c.csv", c.text), ForeignFormat::Csv, c.channel);
    EXPECT_EQ(record.channels, c.channels);
    EXPECT_EQ(record.channel, c.chosen);
    EXPECT_EQ(record.samplesMv, c.samplesMv);
    EXPECT_EQ(record.totalSamples, c.samplesMv.size());
    EXPECT_EQ(record.sampleRateHz, c.rateHz);
}

INSTANTIATE_TEST_SUITE_P(
    Exchange, CommonCsv,
    ::testing::Values(
        CsvCase{"time and volts",
                "Time (s),CH1 (V),CH2\n0,0.5,1\n1e-6,0.25,2\n2e-6,-0.125,3\n",
                "",
                {"CH1", "CH2"},
                "CH1",
                {500.0f, 250.0f, -125.0f},
                1e6},
        CsvCase{"a column without a unit is millivolts",
                "Time (s),CH1 (V),CH2\n0,0.5,1\n1e-6,0.25,2\n2e-6,-0.125,3\n",
                "CH2",
                {"CH1", "CH2"},
                "CH2",
                {1.0f, 2.0f, 3.0f},
                1e6},
        CsvCase{"no header, the time first",
                "0,1.5\n0.001,2.5\n0.002,3.5\n0.003,4.5\n",
                "",
                {"CH1"},
                "CH1",
                {1.5f, 2.5f, 3.5f, 4.5f},
                1000.0},
        CsvCase{
            "one column, no rate", "1\n-2\n3e2\n", "", {"CH1"}, "CH1", {1.0f, -2.0f, 300.0f}, 0.0},
        CsvCase{"tabs, CRLF, millisecond times, millivolts",
                "time [ms]\tprobe [mV]\r\n0.5\t7\r\n1.0\t8\r\n1.5\t9\r\n",
                "",
                {"probe"},
                "probe",
                {7.0f, 8.0f, 9.0f},
                2000.0},
        CsvCase{"hash comments, quoted captions, microvolts",
                "# exported\n\"t\",\"Ch 1 (uV)\"\n# gap\n0,1500\n2,2500\n4,-500\n",
                "",
                {"Ch 1"},
                "Ch 1",
                {1.5f, 2.5f, -0.5f},
                0.5},
        CsvCase{"libsigrok's export of a device with a rate",
                "; Channels (1/1): A0\nmicroseconds,V DC\n1,0.5\n2,0.25\n3,0.125\n",
                "",
                {"A0"},
                "A0",
                {500.0f, 250.0f, 125.0f},
                1e6},
        CsvCase{"the rate's comment wins over the times",
                "; Samplerate: 1.234567 MHz\nt,v (V)\n0,1\n1,2\n",
                "",
                {"v"},
                "v",
                {1000.0f, 2000.0f},
                1234567.0},
        CsvCase{"a column of words is no channel",
                "n,label,value (kV)\n1,a,0.001\n2,b,0.002\n",
                "",
                {"n", "value"},
                "n",
                {1.0f, 2.0f},
                0.0}),
    [](const ::testing::TestParamInfo<CsvCase>& info) {
        std::string name;
        for (const char* p = info.param.what; *p != '\0'; ++p)
            if (std::isalnum(static_cast<unsigned char>(*p))) name += *p;
        return name;
    });

// ---------------------------------------------------------------- long files

// Files fed to libsigrok in many pieces (64 KiB each: a WAV frame or a CSV
// line split between two), sessions in many entries: every sample counted,
// the ones asked for kept.
TEST_F(ExchangeTest, LongRecordsCrossEveryPieceBoundary) {
    const std::vector<float> codes = CodeLikeSamples();
    std::vector<float> samples(300000);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = codes[i % codes.size()];
    for (ForeignFormat format : {ForeignFormat::Session, ForeignFormat::Wav}) {
        const std::string path = Written(format, samples, 5e5, "long");
        ForeignRecord record = Read(path, format);
        EXPECT_EQ(record.totalSamples, samples.size());
        EXPECT_EQ(record.samplesMv, samples);
        EXPECT_EQ(record.sampleRateHz, 5e5);
        record = Read(path, format, "", 1000);
        EXPECT_EQ(record.totalSamples, samples.size());
        EXPECT_EQ(record.samplesMv, std::vector<float>(samples.begin(), samples.begin() + 1000));
    }

    std::string text = "Time (s),CH1 (mV)\n";
    char line[64];
    for (int i = 0; i < 200000; ++i) {
        std::snprintf(line, sizeof line, "%.6f,%d\n", i * 1e-6, i % 1000);
        text += line;
    }
    const ForeignRecord csv = Read(WriteFile("long.csv", text), ForeignFormat::Csv, "", 3);
    EXPECT_EQ(csv.totalSamples, 200000u);
    EXPECT_EQ(csv.samplesMv, (std::vector<float>{0.0f, 1.0f, 2.0f}));
    EXPECT_EQ(csv.sampleRateHz, 1e6);
}

// ---------------------------------------------------------------- hostile

struct HostileCase {
    const char* file;  // in tests/data/exchange
    ForeignFormat format;
    const char* channel;
    const char* error;
};

class HostileFile : public ExchangeTest, public ::testing::WithParamInterface<HostileCase> {};

TEST_P(HostileFile, IsRefusedInAFewWords) {
    const HostileCase& c = GetParam();
    EXPECT_EQ(Refusal(DataFile(c.file), c.format, c.channel), c.error) << c.file;
}

INSTANTIATE_TEST_SUITE_P(
    Exchange, HostileFile,
    ::testing::Values(
        HostileCase{"no-analog.sr", ForeignFormat::Session, "", "no analog channel"},
        HostileCase{"demo-a0.sr", ForeignFormat::Session, "A7", "no analog channel called A7"},
        HostileCase{"truncated.sr", ForeignFormat::Session, "", "a damaged zip archive"},
        HostileCase{"plain.zip", ForeignFormat::Session, "", "not a sigrok session"},
        HostileCase{"random.bin", ForeignFormat::Session, "", "not a zip archive"},
        HostileCase{"empty", ForeignFormat::Session, "", "the file is empty"},
        HostileCase{"letters.csv", ForeignFormat::Csv, "", "column 2 is not a number on line 4"},
        HostileCase{"letters.csv", ForeignFormat::Csv, "CH9", "no analog channel called CH9"},
        HostileCase{"random.bin", ForeignFormat::Csv, "", "no analog channel"},
        HostileCase{"empty", ForeignFormat::Csv, "", "the file is empty"},
        HostileCase{"zero-frames.wav", ForeignFormat::Wav, "", "no frames"},
        HostileCase{"stereo-pcm16.wav", ForeignFormat::Wav, "CH3", "no analog channel called CH3"},
        HostileCase{"pcm24.wav", ForeignFormat::Wav, "",
                    "a WAV file libsigrok cannot read (data is invalid)"},
        HostileCase{"random.bin", ForeignFormat::Wav, "", "not a WAV file"},
        HostileCase{"empty", ForeignFormat::Wav, "", "the file is empty"},
        HostileCase{"missing", ForeignFormat::Wav, "",
                    "cannot read the file: No such file or directory"},
        HostileCase{"", ForeignFormat::Csv, "", "cannot read the file: it is a folder"}));

TEST_F(ExchangeTest, CsvRefusalsNameTheLine) {
    EXPECT_EQ(Refusal(WriteFile("a.csv", "t,v\n0,1\n1,2\n2\n"), ForeignFormat::Csv),
              "line 4 has no column 2");
    EXPECT_EQ(Refusal(WriteFile("b.csv", "v\n1\n2 \n"), ForeignFormat::Csv),
              "column 1 is not a number on line 3");
    EXPECT_EQ(Refusal(WriteFile("c.csv", "t,v\n"), ForeignFormat::Csv), "no samples");
    EXPECT_EQ(Refusal(WriteFile("d.csv", "1.5"), ForeignFormat::Csv), "no samples");
    EXPECT_EQ(Refusal(WriteFile("e.csv", "; only a comment\n"), ForeignFormat::Csv), "no samples");
    EXPECT_EQ(Refusal(WriteFile("f.csv", "a,b\nx,y\n"), ForeignFormat::Csv), "no analog channel");
    // One endless line is not buffered whole.
    EXPECT_EQ(Refusal(WriteFile("g.csv", "v\n1\n" + std::string(3 << 20, '7')), ForeignFormat::Csv),
              "line 3 is longer than 1048576 bytes");
}

TEST_F(ExchangeTest, DamagedWavHeadersAndArchivesAreRefused) {
    const std::string wav = ReadFile(Written(ForeignFormat::Wav, {1.0f, 2.0f}, 8000, "w.wav"));
    EXPECT_EQ(Refusal(WriteFile("cut.wav", wav.substr(0, 30)), ForeignFormat::Wav),
              "a damaged WAV header");
    const std::string sr = ReadFile(Written(ForeignFormat::Session, {1.0f, 2.0f}, 8000, "s.sr"));
    for (size_t keep : {4u, 40u, 200u})
        EXPECT_EQ(Refusal(WriteFile("cut.sr", sr.substr(0, keep)), ForeignFormat::Session),
                  "a damaged zip archive")
            << keep;

    // The samples' entry spoilt inside a whole archive.
    std::vector<float> ramp(4000);
    for (size_t i = 0; i < ramp.size(); ++i)
        ramp[i] = static_cast<float>(i);
    std::string spoilt = ReadFile(Written(ForeignFormat::Session, ramp, 8000, "ramp.sr"));
    const size_t entry = spoilt.find("analog-1-1-1");
    ASSERT_NE(entry, std::string::npos);
    for (size_t i = entry + 40; i < entry + 80; ++i)
        spoilt[i] = static_cast<char>(spoilt[i] ^ 0x5A);
    EXPECT_EQ(Refusal(WriteFile("spoilt.sr", spoilt), ForeignFormat::Session),
              "a damaged zip archive");

    // A1's entry spoilt: A1 is damaged, A0 beside it is whole.
    std::string mixed = ReadFile(DataFile("mixed.sr"));
    const size_t a1 = mixed.find("analog-1-10-1");
    ASSERT_NE(a1, std::string::npos);
    for (size_t i = a1 + 16; i < a1 + 40; ++i)
        mixed[i] = static_cast<char>(mixed[i] ^ 0x5A);
    const std::string path = WriteFile("mixed.sr", mixed);
    EXPECT_EQ(Refusal(path, ForeignFormat::Session, "A1"), "a damaged zip archive");
    EXPECT_EQ(Read(path, ForeignFormat::Session, "A0").samplesMv.size(), 40u);
}

TEST_F(ExchangeTest, RandomBytesInEveryFormatAreRefusedWithoutACrash) {
    uint32_t state = 12345;
    for (int round = 0; round < 20; ++round) {
        std::string bytes(64 + round * 97, '\0');
        for (char& c : bytes) {
            state = state * 1664525u + 1013904223u;
            c = static_cast<char>(state >> 24);
        }
        // The starts of each format, to get past the first checks.
        if (round % 4 == 1) bytes.replace(0, 4, "PK\x03\x04", 4);
        if (round % 4 == 2) bytes.replace(0, 12, "RIFF\xff\xff\xff\xffWAVE", 12);
        if (round % 4 == 3) bytes.replace(0, 6, "t,v\n0,");
        const std::string path = WriteFile("r" + std::to_string(round), bytes);
        for (ForeignFormat format :
             {ForeignFormat::Session, ForeignFormat::Csv, ForeignFormat::Wav}) {
            ForeignRecord record;
            std::string error;
            if (!exchange.Read(path, format, "", 100, record, error)) {
                EXPECT_FALSE(error.empty());
                EXPECT_TRUE(record.samplesMv.empty());
            } else {
                EXPECT_LE(record.samplesMv.size(), 100u);
            }
        }
    }
}

TEST_F(ExchangeTest, WritesOnlyWhatItCan) {
    const float samples[] = {1.0f, 2.0f};
    std::string bytes = "old";
    std::string error;
    EXPECT_FALSE(exchange.Write(ForeignFormat::Session, samples, 0, 1e3, "CH1", bytes, error));
    EXPECT_EQ(error, "no samples to write");
    EXPECT_TRUE(bytes.empty());
    EXPECT_FALSE(exchange.Write(ForeignFormat::Csv, nullptr, 2, 1e3, "CH1", bytes, error));
    EXPECT_EQ(error, "no samples to write");
    EXPECT_FALSE(exchange.Write(ForeignFormat::None, samples, 2, 1e3, "CH1", bytes, error));
    EXPECT_EQ(error, "not a format of other tools");
    for (double rate : {0.0, 0.4, -5.0, std::nan(""), std::numeric_limits<double>::infinity()}) {
        EXPECT_FALSE(exchange.Write(ForeignFormat::Session, samples, 2, rate, "CH1", bytes, error));
        EXPECT_EQ(error.substr(0, 16), "the sample rate ") << rate;
    }
    EXPECT_FALSE(exchange.Write(ForeignFormat::Wav, samples, 2, 5e9, "CH1", bytes, error));
    EXPECT_EQ(error, "the sample rate 5e+09 Hz cannot be written");
    EXPECT_TRUE(exchange.Write(ForeignFormat::Session, samples, 2, 5e9, "CH1", bytes, error));
    EXPECT_TRUE(exchange.Write(ForeignFormat::Wav, samples, 2, 0.5, "", bytes, error));
    EXPECT_EQ(Le32(bytes, 24), 1u);
}

}  // namespace
}  // namespace korvel
