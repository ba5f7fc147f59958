// Writes the fuzz targets' seed files with the program's own writers: data
// files as Save and Win-save write them, their companion files, and
// korvel.ini as "Save Settings" writes it. Then the files that sit on the
// readers' limits, which no small seed reaches and mutation alone grows
// towards far too slowly: MaxData lines and samples and a few more, text
// past the reader's 256 KiB buffer so that it is refilled in the middle of a
// line, lines at and over the length of a text piece and of a companion line,
// and korvel.ini with more records than it has settings or a record cut off.
// Usage: korvel_fuzz_seeds FOLDER; one subfolder per target is (re)filled.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>

#include "app/ResetAll.h"
#include "files/ConfigFile.h"
#include "files/DataFileFormat.h"
#include "files/DataFileWriter.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "model/SettingFields.h"

namespace fs = std::filesystem;
using namespace korvel;

namespace {

fs::path Out;

std::string Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Put(const char* target, const std::string& name, const std::string& bytes) {
    fs::create_directories(Out / target);
    std::ofstream(Out / target / name, std::ios::binary) << bytes;
}

// A noisy square wave of count samples in mV.
void FillRecord(int32_t count, float periodUs, float firstUs) {
    uint32_t state = 7;
    for (int32_t i = 0; i < count; ++i) {
        state = state * 1103515245u + 12345u;
        const float noise = static_cast<float>((state >> 16) % 200) * 0.1f;
        OscState.Record[i] = (i % 50 < 30 ? -312.5f : 781.25f) + noise;
    }
    OscSettings.Num_Data = count;
    OscState.SamplePeriod = periodUs;
    OscState.TimeOffset = firstUs;
}

// Writes the record in both formats, as Save or as Win-save, and files the
// data files and their companion file under the targets that read them.
void WriteRecord(const std::string& name, bool window) {
    const fs::path folder = Out / "scratch";
    fs::create_directories(folder);
    for (int32_t format : {SaveText, SaveBinary}) {
        const fs::path path = folder / (name + (format == SaveText ? ".ktf" : ".kbf"));
        const DataFileWriteResult result =
            (window ? WriteWindowFile(path.c_str(), format) : WriteRecordFile(path.c_str(), format))
                .result;
        if (result != DataFileWritten) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            std::exit(1);
        }
        const std::string bytes = Bytes(path);
        Put(format == SaveText ? "text" : "binary", path.filename(), bytes);
        Put("detect", path.filename(), bytes);
    }
    Put("companion", name + ".cf", Bytes(folder / (name + ".cf")));
}

// The writer stores floats; the two code forms of the binary file are the
// same header with Conversion (and ZeroLevel) and one code per sample, here
// followed by extraCodes more codes, which go into prefix_signed.kbf and
// prefix_unsigned.kbf.
void WriteCodeForms(const std::string& floatFile, const std::string& prefix, size_t extraCodes) {
    const std::string floats = Bytes(Out / "binary" / floatFile);
    const std::string header = floats.substr(4, 8);
    std::string codes;
    for (size_t k = 12; k + 4 <= floats.size(); k += 4) {
        float value;
        std::memcpy(&value, floats.data() + k, 4);
        codes += static_cast<char>(static_cast<int>(std::lround(value / 7.8125f)));
    }
    for (size_t k = 0; k < extraCodes; ++k)
        codes += static_cast<char>(k % 2 == 0 ? 0x80 : 0x7f);
    const float conversion = 7.8125f;
    const float zero = 1.5f;
    std::string kdrf = "KDRF" + header;
    kdrf.append(reinterpret_cast<const char*>(&conversion), 4);
    kdrf.append(reinterpret_cast<const char*>(&zero), 4);
    std::string kdru = "KDRU" + header;
    kdru.append(reinterpret_cast<const char*>(&conversion), 4);
    for (const auto& [name, bytes] : {std::pair{prefix + "_signed.kbf", kdrf + codes},
                                      std::pair{prefix + "_unsigned.kbf", kdru + codes}}) {
        Put("binary", name, bytes);
    }
}

void WriteConfig(const char* name) {
    if (!SaveConfig()) {
        std::fprintf(stderr, "cannot save the configuration\n");
        std::exit(1);
    }
    Put("config", name, Bytes(ConfigFilePath()));
}

// Limits of the readers that the seeds below sit on. The text reader's buffer
// and the companion line length are private to their readers; these copies
// only place the seeds and are checked against nothing else.
constexpr size_t TextBufferBytes = size_t{1} << 18;
constexpr size_t PieceChars = TextPieceChars - 1;
constexpr size_t CompanionLineChars = 259;

void Expect(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "seed not as meant: %s\n", what);
    std::exit(1);
}

size_t Lines(const std::string& text) {
    size_t count = 0;
    for (char c : text)
        count += c == '\n';
    return count;
}

// A float in the writer's form: the shortest of at most 9 digits that reads
// back as itself.
std::string Number(float value) {
    char digits[32];
    const auto result =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::general, 9);
    return {digits, result.ptr};
}

std::string FloatBits(float value) {
    std::string bytes(4, '\0');
    std::memcpy(bytes.data(), &value, 4);
    return bytes;
}

// Lengthens the last line of text (which ends in '\n') with blanks, which the
// reader skips, so that the next line starts at byte offset.
void PadTo(std::string& text, size_t offset) {
    Expect(!text.empty() && text.back() == '\n' && text.size() <= offset, "room to pad");
    text.insert(text.size() - 1, offset - text.size(), ' ');
}

// Sample lines "t v", t in steps of 0.5 us from the time after the last line,
// until the next one would pass byte offset.
void SampleLinesUpTo(std::string& text, size_t offset, int32_t& index) {
    for (;;) {
        const std::string line =
            Number(static_cast<float>(index) * 0.5f) + " " + std::to_string(index % 7 - 3) + "\n";
        if (text.size() + line.size() > offset) return;
        text += line;
        ++index;
    }
}

// A record of MaxData samples written by Save, once in each format: the text
// file has exactly the MaxData lines the reader examines, the last one
// carrying the step note, and is more than twice as long as the reader's
// buffer, which is refilled twice. Its values are whole numbers of two
// characters at 1 us, so that its lines stay short and the file fits the
// fuzzers' input limit (scripts/fuzz.sh).
void WriteFullRecords() {
    const fs::path folder = Out / "scratch";
    fs::create_directories(folder);

    FillRecord(MaxData, 0.0125f, -40.0f);
    Expect(WriteRecordFile((folder / "full.kbf").c_str(), SaveBinary).result == DataFileWritten,
           "full.kbf written");
    const std::string floats = Bytes(folder / "full.kbf");
    Expect(floats.size() == BinaryHeaderBytes + 4 * static_cast<size_t>(MaxData), "full.kbf");
    Put("binary", "full.kbf", floats);

    for (int32_t i = 0; i < MaxData; ++i)
        OscState.Record[i] = i % 50 < 30 ? -3.0f : 17.0f;
    OscState.SamplePeriod = 1.0f;
    OscState.TimeOffset = 0.0f;
    Expect(WriteRecordFile((folder / "full.ktf").c_str(), SaveText).result == DataFileWritten,
           "full.ktf written");
    const std::string text = Bytes(folder / "full.ktf");
    Expect(Lines(text) == MaxData && text.size() > 2 * TextBufferBytes, "full.ktf");
    Expect(text.find(" step ") > text.rfind('\n', text.size() - 2), "full.ktf's note");
    Put("text", "full.ktf", text);
}

// Text files on the limits of the text reader.
void WriteTextLimits() {
    // 6 lines over MaxData, every one of them a sample: "0 v" up to the last
    // line examined, which ends the span at 1 us and notes its step; the
    // buffer ends inside that very line. The lines after it hold no finite
    // value and another step, so a reader that looked at them would refuse
    // the file or take the wrong step.
    std::string over;
    for (int32_t line = 0; line < MaxData - 1; ++line)
        over += line % 3 == 0 ? "0 9\n" : "0 5\n";
    const float step = PeriodOfSpan(1.0f, 0.0f, MaxData - 1);
    over += "1 5 step " + Number(step) + "\n";
    Expect(over.size() > TextBufferBytes && over.size() - TextBufferBytes < 20, "over.ktf");
    over += "2 nan\n3 inf\n4 -inf\n5 9 step 0.25\n6 nan\n7 step 3\n";
    Expect(Lines(over) == MaxData + 6, "over.ktf's lines");
    Put("text", "over.ktf", over);
    Put("detect", "over.ktf", over);

    // MaxData + 6 lines, mostly blank ones (which count as lines too): two
    // samples, then a time-only line with its step note as the last line
    // examined, then samples and notes that must not be read.
    std::string sparse = "0 1\n1 2\n";
    const char* const blankLines[] = {"\n", " \n", "\t\r\n", "\v\f\n"};
    for (int32_t line = 2; line < MaxData - 1; ++line)
        sparse += blankLines[line % 4];
    sparse += "2 step 1\n8 3\n9 nan\n10 step 5\n11 1\n12 2\n13 step 0.5\n";
    Expect(Lines(sparse) == MaxData + 6, "sparse_over.ktf");
    Put("text", "sparse_over.ktf", sparse);

    // Just past the buffer: its end falls inside the time stamp of a line,
    // exactly at the end of a line, at the very end of the file, and three
    // quarters into a line longer than a piece.
    int32_t index = 0;
    std::string midNumber;
    SampleLinesUpTo(midNumber, TextBufferBytes - 40, index);
    PadTo(midNumber, TextBufferBytes - 3);
    midNumber += "131072.25 3\n131072.75 -4\n131073 step 0.5\n";
    Put("text", "refill_mid_number.ktf", midNumber);

    index = 0;
    std::string lineEnd;
    SampleLinesUpTo(lineEnd, TextBufferBytes - 40, index);
    PadTo(lineEnd, TextBufferBytes);
    lineEnd += "131072 1\n131072.5 2\n131073 step 0.5\n";
    Put("text", "refill_line_end.ktf", lineEnd);

    index = 0;
    std::string exact;
    SampleLinesUpTo(exact, TextBufferBytes - 40, index);
    PadTo(exact, TextBufferBytes - 20);
    exact += "131072 step 0.5";
    exact.append(TextBufferBytes - 1 - exact.size(), ' ');
    exact += "\n";
    Expect(exact.size() == TextBufferBytes, "buffer_exact.ktf");
    Put("text", "buffer_exact.ktf", exact);

    index = 0;
    std::string longLine;
    SampleLinesUpTo(longLine, TextBufferBytes - 400, index);
    PadTo(longLine, TextBufferBytes - PieceChars * 3 / 4);
    std::string pieces;
    for (int piece = 0; piece < 3; ++piece) {
        pieces += Number(static_cast<float>(index + piece) * 0.5f) + " 6";
        pieces.append(PieceChars * (piece + 1) - pieces.size(), ' ');
    }
    longLine += pieces + "tail\n" + Number(static_cast<float>(index + 3) * 0.5f) + " step 0.5\n";
    Put("text", "refill_long_line.ktf", longLine);

    // Lines at the length of a piece: 498 characters and the newline make one
    // piece; 499 leave the newline for a blank piece of its own; 500 leave a
    // time stamp for the next piece; a line of several pieces that each start
    // with a sample; a time stamp and a step note cut by a piece's end.
    auto line = [](const std::string& start, size_t chars, const std::string& end) {
        std::string text = start;
        text.append(chars - start.size() - end.size(), ' ');
        return text + end + "\n";
    };
    std::string atPiece = "0 1\n";
    atPiece += line("1 2", PieceChars - 1, "");
    atPiece += line("2 3", PieceChars, "");
    atPiece += line("3 4", PieceChars + 1, "9");
    const std::string blanks(PieceChars - 3, ' ');
    atPiece += "4 5" + blanks + "5 6" + blanks + "6 7" + blanks + "7 8\n";
    atPiece += blanks + "123456 9\n";
    atPiece += "9" + std::string(PieceChars - 5, ' ') + " ste" + "p 1\n";
    atPiece += line("", PieceChars - 10, "10 step 1.25");
    Put("text", "piece_lengths.ktf", atPiece);
    Put("detect", "piece_lengths.ktf", atPiece);
}

// Binary files on the sample limit and cut short.
void WriteBinaryLimits() {
    WriteCodeForms("full.kbf", "codes_full", 0);
    WriteCodeForms("full.kbf", "codes_over", 66);
    Put("detect", "codes_over_unsigned.kbf", Bytes(Out / "binary" / "codes_over_unsigned.kbf"));

    const std::string floats = Bytes(Out / "binary" / "full.kbf");
    // 66 samples past MaxData, none of them finite: a reader that took any
    // would refuse the file.
    std::string extra;
    for (int k = 0; k < 66; ++k) {
        extra += FloatBits(k % 2 == 0 ? std::numeric_limits<float>::quiet_NaN()
                                      : std::numeric_limits<float>::infinity());
    }
    const std::string over = floats + extra;
    Put("binary", "floats_over.kbf", over);
    Put("detect", "floats_over.kbf", over);

    const std::string shortFile = Bytes(Out / "binary" / "short.kbf");
    Put("binary", "floats_cut.kbf", shortFile + shortFile.substr(12, 3));
    Put("binary", "header_cut.kbf", shortFile.substr(0, 10));
    const std::string signedCodes = Bytes(Out / "binary" / "codes_signed.kbf");
    Put("binary", "codes_signed_body_cut.kbf", signedCodes.substr(0, 18));
    Put("binary", "codes_unsigned_empty.kbf",
        Bytes(Out / "binary" / "codes_unsigned.kbf").substr(0, 16));
}

// Companion files: every key the file may hold, with values at and past the
// ends of their ranges, and lines at and past the length the reader keeps.
void WriteCompanionLimits() {
    std::string every;
    const char* const hostile[] = {"nan",      "inf",      "-inf",  "-0",
                                   "1e38",     "1e-45",    "-1",    "2147483647",
                                   "0x1p-149", "ffffffff", "65534", "-2147483648"};
    for (int32_t index = 1; index <= ConfigEntryCount; ++index) {
        every += GetConfigEntry(index).key;
        every += " = ";
        every += hostile[index % std::size(hostile)];
        every += "\n";
    }
    Put("companion", "every_key.cf", every);

    // Data_S is kept whole on a line of exactly CompanionLineChars; of
    // Data_E one character too many is cut, leaving 4000 of 40000; a key past
    // the kept characters is not read; a very long line is cut and the line
    // after it read as usual; a carriage return, tabs, a key's first letters;
    // a value that begins the next key's name, so that "= 9" sets AutoNorm;
    // the last line has no newline.
    auto line = [](const std::string& start, const std::string& end, size_t chars) {
        std::string text = start;
        text.append(chars - start.size() - end.size(), ' ');
        return text + end + "\n";
    };
    std::string lengths = "Data_S = 40000\n";
    lengths += line("Data_S =", "200", CompanionLineChars);
    lengths += line("Data_E =", "40000", CompanionLineChars + 1);
    lengths += line("Labels_X =", "7", CompanionLineChars - 1);
    lengths += line("", "Labels_Y = 3", CompanionLineChars + 12);
    lengths += line("Grid = 0", "Korv_Freq = 3", 5000);
    lengths += "Korv_Freq = 2\r\nOsc_Freq\t=\t0.5\nD_m = -5\nAv_Over = A\t= 9";
    Put("companion", "line_lengths.cf", lengths);
}

// korvel.ini: a record past the last setting, more records than settings
// (later ones overwrite earlier ones) and a record cut off at the end.
void WriteConfigLimits() {
    const std::string defaults = Bytes(Out / "config" / "defaults.ini");
    Expect(defaults.size() == 8 * static_cast<size_t>(ConfigEntryCount), "defaults.ini");
    auto record = [](int32_t index, uint32_t bits) {
        std::string bytes(8, '\0');
        std::memcpy(bytes.data(), &index, 4);
        std::memcpy(bytes.data() + 4, &bits, 4);
        return bytes;
    };
    Put("config", "records_34.ini", defaults + record(34, 5));

    const uint32_t values[] = {0x7fc00000u, 0x7f800000u, 0xff800000u, 0x80000000u, 0x7f7fffffu,
                               0x00000001u, 0x00800000u, 0xffffffffu, 0x7fffffffu, 0u,
                               1u,          65534u,      65535u};
    std::string many = defaults;
    int32_t k = 0;
    for (int32_t index : {0, -1, 34, std::numeric_limits<int32_t>::min()})
        many += record(index, values[k++ % std::size(values)]);
    while (many.size() < 8 * 200) {
        for (int32_t index = ConfigEntryCount; index >= 1 && many.size() < 8 * 200; --index)
            many += record(index, values[k++ % std::size(values)]);
    }
    Put("config", "records_200.ini", many);

    Put("config", "record_cut.ini", defaults + record(22, 100).substr(0, 5));
    Put("config", "record_cut_only.ini", record(2, 3).substr(0, 7));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    Out = argv[1];
    setenv("XDG_CONFIG_HOME", (Out / "scratch").c_str(), 1);
    ResetAllRecords();

    FillRecord(40, 0.0125f, 0.0f);
    WriteRecord("short", false);
    FillRecord(300, 0.025f, -1.5f);
    OscSettings.Data_S = 120;
    OscSettings.Data_E = 180;
    OscSettings.Korv_Freq = 1;
    OscSettings.Labels_X = 4;
    OscSettings.Grid = 1;
    OscSettings.BaseAddr = 0x31C;
    OscSettings.Amplitude = 1000.0f;
    OscSettings.D_min = -400.0f;
    OscSettings.D_max = 900.0f;
    OscSettings.AutoNorm = 0;
    WriteRecord("window", true);
    WriteCodeForms("short.kbf", "codes", 0);
    for (const char* name : {"codes_signed.kbf", "codes_unsigned.kbf"})
        Put("detect", name, Bytes(Out / "binary" / name));

    ResetAllRecords();
    WriteConfig("defaults.ini");
    OscSettings.Korv_Freq = 2;
    OscSettings.Acc_Over = 4;
    OscSettings.Av_Over = 11;
    OscSettings.BaseFreq = 40.0f;
    OscSettings.FreqDiv[3] = 16;
    OscSettings.Num_Data = 5000;
    OscSettings.Data_S = 100;
    OscSettings.Data_E = 900;
    OscSettings.Osc_Mode = 1;
    OscSettings.Osc_Freq = 10.0f;
    OscSettings.LFontSize = 0;
    OscSettings.MFontSize = 10;
    WriteConfig("changed.ini");

    ResetAllRecords();
    WriteFullRecords();
    WriteTextLimits();
    WriteBinaryLimits();
    WriteCompanionLimits();
    WriteConfigLimits();

    fs::remove_all(Out / "scratch");
    return 0;
}
