#include "files/DataFileReader.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "files/CompanionFile.h"
#include "files/DataFileState.h"
#include "files/DataLineScan.h"
#include "files/InputFile.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "model/Texts.h"
#include "ports/Ports.h"

namespace korvel {

namespace {

// Holds a whole binary body (MaxData floats) or one stretch of a text file,
// plus the terminator put behind the text piece being scanned.
constexpr size_t ChunkBytes = 1 << 18;
static_assert(ChunkBytes >= static_cast<size_t>(MaxData) * 4);
char Chunk[ChunkBytes + 1];

// The record being read; it reaches FileData only when the file is accepted.
float Staged[MaxData];

// A record as read, before it is accepted.
struct ReadRecord {
    int32_t count = 0;
    float periodUs = 0.0f;
    float firstTimeUs = 0.0f;
    int32_t firstTimeAt = 0;  // where the first time was read (a text file's line)
    int32_t nonFiniteAt = 0;  // the first value that is no finite number (line or sample)
};

// The data file, opened once. The bytes read to tell its format are handed
// out again to the reader of that format.
class Input {
  public:
    explicit Input(const char* path) : file_(path, DataFiles.Inputs, SIZE_MAX) {}
    const FileStatus& Status() const { return file_.Status(); }
    bool IsOpen() const { return file_.IsOpen(); }

    size_t Read(void* bytes, size_t size) {
        const size_t again = std::min(size, replayed_ - replayedAt_);
        std::memcpy(bytes, magic_ + replayedAt_, again);
        replayedAt_ += again;
        return again + file_.Read(static_cast<char*>(bytes) + again, size - again);
    }
    // The file as the exchange opens it again: the very file checked here,
    // whatever its name now points at.
    std::string SamePath() const { return "/proc/self/fd/" + std::to_string(file_.Descriptor()); }
    bool IsRegular() const { return file_.IsRegular(); }
    // The first bytes, read to tell the format and then given back.
    size_t Peek(char (&magic)[4]) {
        replayed_ = file_.Read(magic_, sizeof magic_);
        std::memcpy(magic, magic_, sizeof magic_);
        return replayed_;
    }

  private:
    InputFile file_;
    char magic_[4] = {};
    size_t replayed_ = 0;
    size_t replayedAt_ = 0;
};

float LittleEndianFloat(const unsigned char* bytes) {
    const uint32_t bits = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                          static_cast<uint32_t>(bytes[2]) << 16 |
                          static_cast<uint32_t>(bytes[3]) << 24;
    return std::bit_cast<float>(bits);
}

DataFileRead Refused(ReadProblem problem, int32_t at = 0) {
    DataFileRead read;
    read.problem = problem;
    read.at = at;
    return read;
}

// Why a record as read cannot be shown; None when it can.
DataFileRead Check(const ReadRecord& record) {
    if (record.count <= 0) return Refused(ReadProblem::NoSamples);
    if (!std::isfinite(record.firstTimeUs))
        return Refused(ReadProblem::NonFiniteTime, record.firstTimeAt);
    if (!(std::isfinite(record.periodUs) && record.periodUs > 0.0f))
        return Refused(ReadProblem::NoTimeStep);
    if (record.nonFiniteAt > 0) return Refused(ReadProblem::NonFiniteValue, record.nonFiniteAt);
    return {};
}

void Accept(const ReadRecord& record) {
    std::memcpy(OscState.FileData, Staged, static_cast<size_t>(record.count) * sizeof(float));
    OscState.LoadedLength = record.count;
    OscState.SamplePeriod = record.periodUs;
    OscState.TimeOffset = record.firstTimeUs;
}

// The step noted on a line that has a time stamp (see StepNoteAgrees); NaN
// when the line notes none.
float StepNote(const char* line, int numbers) {
    float step = NAN;
    std::sscanf(line, numbers == 1 ? "%*g step %g" : "%*g %*g step %g", &step);
    return step;
}

DataFileRead ReadText(Input& file) {
    ReadRecord record;
    float timeUs = 0.0f;  // the first number of the last line that had one
    float valueMv = 0.0f;
    float stepNote = NAN;       // the step noted on that line
    bool noteOnSample = false;  // that line is a sample's own line
    int32_t textLine = 1;       // the line of the file the piece lies on, as an editor counts
    int32_t firstWordy = 0;     // the first line not blank that is no data line
    size_t begin = 0;
    size_t end = 0;
    bool ended = false;
    constexpr size_t pieceMax = TextPieceChars - 1;
    for (int32_t line = 0; line < MaxData; ++line) {
        size_t available = end - begin;
        const void* newline = std::memchr(Chunk + begin, '\n', std::min(available, pieceMax));
        if (newline == nullptr && available < pieceMax && !ended) {
            std::memmove(Chunk, Chunk + begin, available);
            begin = 0;
            const size_t wanted = ChunkBytes - available;
            const size_t got = file.Read(Chunk + available, wanted);
            ended = got < wanted;
            end = available + got;
            available = end;
            newline = std::memchr(Chunk, '\n', std::min(available, pieceMax));
        }
        if (available == 0) break;
        const size_t length =
            newline != nullptr
                ? static_cast<size_t>(static_cast<const char*>(newline) - (Chunk + begin)) + 1
                : std::min(available, pieceMax);
        char* piece = Chunk + begin;
        const char after = piece[length];
        piece[length] = '\0';
        const int numbers = ScanTimeValue(piece, timeUs, valueMv);
        if (numbers >= 1) {
            // A data line notes a step only as the last line examined.
            const bool mayNote = numbers == 1 || line == MaxData - 1;
            stepNote = mayNote ? StepNote(piece, numbers) : NAN;
            noteOnSample = numbers == 2;
        }
        piece[length] = after;
        begin += length;
        if (numbers == 2) {
            if (record.count == 0) {
                record.firstTimeUs = timeUs;
                record.firstTimeAt = textLine;
            }
            if (record.nonFiniteAt == 0 && !std::isfinite(valueMv)) record.nonFiniteAt = textLine;
            Staged[record.count++] = valueMv;
        } else if (numbers >= 0 && firstWordy == 0) {
            firstWordy = textLine;
        }
        if (newline != nullptr) ++textLine;
    }
    if (record.count == 0) {
        return firstWordy > 0 ? Refused(ReadProblem::NotANumber, firstWordy)
                              : Refused(ReadProblem::NoSamples);
    }
    record.periodUs = PeriodOfSpan(timeUs, record.firstTimeUs, record.count);
    // On a sample's own line the time stamp is that sample's: the span holds
    // one step less than there are samples.
    const int32_t steps = noteOnSample ? record.count - 1 : record.count;
    if (steps >= 1 && StepNoteAgrees(stepNote, PeriodOfSpan(timeUs, record.firstTimeUs, steps),
                                     timeUs, record.firstTimeUs, steps)) {
        record.periodUs = stepNote;
    }
    const DataFileRead checked = Check(record);
    if (checked) Accept(record);
    return checked;
}

DataFileRead ReadBinary(Input& file) {
    unsigned char header[BinaryHeaderBytes];
    const size_t got = file.Read(header, sizeof header);
    if (got < 4) return Refused(ReadProblem::TooShort, static_cast<int32_t>(got));
    const BinaryKind kind = BinaryKindOf(reinterpret_cast<const char*>(header));
    if (kind == BinaryKind::None) return Refused(ReadProblem::UnknownFormat);
    if (got < sizeof header) {
        if (got >= 8) OscState.SamplePeriod = LittleEndianFloat(header + 4);
        return Refused(ReadProblem::TruncatedHeader, static_cast<int32_t>(got));
    }
    ReadRecord record;
    record.periodUs = LittleEndianFloat(header + 4);
    record.firstTimeUs = LittleEndianFloat(header + 8);

    unsigned char body[8];
    const size_t bodyBytes = kind == BinaryKind::SignedCodes     ? 8
                             : kind == BinaryKind::UnsignedCodes ? 4
                                                                 : 0;
    const size_t bodyGot = file.Read(body, bodyBytes);
    if (bodyGot < bodyBytes) {
        return Refused(ReadProblem::TruncatedHeader, static_cast<int32_t>(got + bodyGot));
    }
    const float conversion = bodyBytes >= 4 ? LittleEndianFloat(body) : 0.0f;
    const float zeroLevel = bodyBytes >= 8 ? LittleEndianFloat(body + 4) : 0.0f;

    const size_t sampleBytes = kind == BinaryKind::Floats ? 4 : 1;
    const size_t bytes = file.Read(Chunk, static_cast<size_t>(MaxData) * sampleBytes);
    record.count = static_cast<int32_t>(bytes / sampleBytes);
    const auto* codes = reinterpret_cast<const unsigned char*>(Chunk);
    for (int32_t i = 0; i < record.count; ++i) {
        float value;
        switch (kind) {
            case BinaryKind::SignedCodes:
                value = static_cast<float>(static_cast<int8_t>(codes[i])) * conversion - zeroLevel;
                break;
            case BinaryKind::UnsignedCodes:
                value = static_cast<float>(codes[i]) * conversion;
                break;
            default:
                value = LittleEndianFloat(codes + 4 * static_cast<size_t>(i));
                break;
        }
        if (record.nonFiniteAt == 0 && !std::isfinite(value)) record.nonFiniteAt = i + 1;
        Staged[i] = value;
    }
    DataFileRead checked = Check(record);
    checked.kind = kind;
    if (!checked) return checked;

    Accept(record);
    if (kind != BinaryKind::Floats) OscSettings.Conversion = conversion;
    if (kind == BinaryKind::SignedCodes) OscSettings.ZeroLevel = zeroLevel;
    OscSettings.Bipolar = kind == BinaryKind::UnsignedCodes ? 0 : 1;
    return checked;
}

// Another tool's file, through the exchange port: its analog channel chosen
// (or its first), at most MaxData samples, at its own rate, from time 0. It
// has no companion settings file.
DataFileRead ReadForeign(Input& file, ForeignFormat format) {
    if (!file.IsRegular()) {
        DataFileRead read = Refused(ReadProblem::File);
        read.file = {FileProblem::NotRegularFile};
        return read;
    }
    ForeignRecord foreign;
    std::string error;
    DataFileRead read;
    read.foreign = format;
    if (!Ports.exchange->Read(file.SamePath(), format, DataFiles.ForeignChannel, MaxData, foreign,
                              error)) {
        read.problem = ReadProblem::Foreign;
        read.detail = error;
        return read;
    }
    ReadRecord record;
    record.count = static_cast<int32_t>(std::min<size_t>(foreign.samplesMv.size(), MaxData));
    std::copy_n(foreign.samplesMv.begin(), record.count, Staged);
    for (int32_t i = 0; i < record.count && record.nonFiniteAt == 0; ++i) {
        if (!std::isfinite(Staged[i])) record.nonFiniteAt = i + 1;
    }
    record.periodUs = static_cast<float>(1e6 / foreign.sampleRateHz);
    DataFileRead checked = Check(record);
    checked.foreign = format;
    checked.channels = foreign.channels;
    checked.channel = foreign.channel;
    checked.totalSamples = foreign.totalSamples;
    if (checked.problem == ReadProblem::NonFiniteValue) checked.kind = BinaryKind::Floats;
    if (checked) Accept(record);
    return checked;
}

ForeignFormat ForeignFormatOfMode(int32_t mode) {
    return mode == DataFileSession ? ForeignFormat::Session
           : mode == DataFileCsv   ? ForeignFormat::Csv
           : mode == DataFileWav   ? ForeignFormat::Wav
                                   : ForeignFormat::None;
}

// What a file's first bytes say it is: one of this program's binary formats,
// a zip archive (a sigrok session) or a RIFF WAVE file; else what its name
// says (.csv), else text.
int32_t DetectedMode(const char* path, const char* head, size_t got) {
    if (got >= 4 && BinaryKindOf(head) != BinaryKind::None) return DataFileBinary;
    if (got >= 4 && std::memcmp(head, "PK\x03\x04", 4) == 0) return DataFileSession;
    if (got >= 4 && std::memcmp(head, "RIFF", 4) == 0) return DataFileWav;
    if (ForeignFormatOfName(path) == ForeignFormat::Csv) return DataFileCsv;
    return DataFileText;
}

DataFileRead Read(const char* path, int32_t mode) {
    if (mode < DataFileText || mode > DataFileWav) return Refused(ReadProblem::UnknownFormat);
    Input file(path);
    if (!file.IsOpen()) {
        DataFileRead read = Refused(ReadProblem::File);
        read.file = file.Status();
        return read;
    }
    if (mode == DataFileDetect) {
        char magic[4];
        const size_t got = file.Peek(magic);
        if (got < sizeof magic) return Refused(ReadProblem::TooShort, static_cast<int32_t>(got));
        mode = DetectedMode(path, magic, got);
    }
    DataFileRead read = mode == DataFileText     ? ReadText(file)
                        : mode == DataFileBinary ? ReadBinary(file)
                                                 : ReadForeign(file, ForeignFormatOfMode(mode));
    // A read that failed half way is no file to show, whatever arrived.
    if (!file.Status().ok()) {
        read = Refused(ReadProblem::File);
        read.file = file.Status();
    }
    return read;
}

}  // namespace

DataFileRead ReadDataFile(int32_t mode) {
    OscState.DataMin = 0.0f;
    OscState.DataMax = 0.0f;
    const char* path = DataFiles.DataFileName;
    DataFileRead read = Read(path, mode);
    if (read) {
        OscSettings.Num_Data = OscState.LoadedLength;
        OscState.FileView = 1;
        if (read.foreign == ForeignFormat::None) read.companion = ReadCompanionSettings(path);
    }
    DataFiles.LastRead = read;
    return read;
}

// The exchange's words for a file it cannot read, in the interface's
// language: each of its sentences with its numbers or name kept, and any
// other as it stands.
static std::string ForeignDetailText(const std::string& detail, int russian) {
    if (russian != 1) return detail;
    for (const TextId id :
         {TextId::ExNoAnalog, TextId::ExDamagedZip, TextId::ExNotSession, TextId::ExNotZip,
          TextId::ExNotWav, TextId::ExNoFrames, TextId::ExDamagedWav}) {
        if (detail == TextIn(id, 0)) return TextIn(id, 1);
    }
    const std::string called = TextIn(TextId::ExNoChannel, 0);
    const std::string stem = called.substr(0, called.find("%s"));
    char text[512];
    if (detail.starts_with(stem)) {
        std::snprintf(text, sizeof text, TextIn(TextId::ExNoChannel, 1),
                      detail.substr(stem.size()).c_str());
        return text;
    }
    for (const TextId id : {TextId::ExNotANumber, TextId::ExNoColumn, TextId::ExLongLine}) {
        int first = 0;
        int second = 0;
        int end = 0;
        const std::string pattern = std::string(TextIn(id, 0)) + "%n";
        if (std::sscanf(detail.c_str(), pattern.c_str(), &first, &second, &end) == 2 &&
            static_cast<size_t>(end) == detail.size()) {
            std::snprintf(text, sizeof text, TextIn(id, 1), first, second);
            return text;
        }
    }
    return detail;
}

std::string DataFileReadText(const DataFileRead& read, const char* path, int russian) {
    TextId text = TextId::ReadNoSamples;
    switch (read.problem) {
        case ReadProblem::None: {
            if (read.companion.ok()) return {};
            char words[4096 + 256];
            std::snprintf(words, sizeof words, TextIn(TextId::ReadCompanionRefused, russian),
                          CompanionPath(path).c_str(),
                          FileStatusText(read.companion, russian).c_str());
            return words;
        }
        case ReadProblem::File:
            return FileStatusText(read.file, russian);
        case ReadProblem::TooShort:
            text = read.at == 0 ? TextId::ReadEmpty : TextId::ReadTooShort;
            break;
        case ReadProblem::UnknownFormat:
            text = TextId::ReadUnknownFormat;
            break;
        case ReadProblem::TruncatedHeader:
            text = TextId::ReadTruncatedHeader;
            break;
        case ReadProblem::NoSamples:
            text = TextId::ReadNoSamples;
            break;
        case ReadProblem::NotANumber:
            text = TextId::ReadNotANumber;
            break;
        case ReadProblem::NonFiniteValue:
            text = read.kind == BinaryKind::None ? TextId::ReadNonFiniteValue
                                                 : TextId::ReadNonFiniteSample;
            break;
        case ReadProblem::NonFiniteTime:
            text = read.at > 0 ? TextId::ReadNonFiniteTime : TextId::ReadNonFiniteFirstTime;
            break;
        case ReadProblem::Foreign:
            return ForeignDetailText(read.detail, russian);
        case ReadProblem::NoTimeStep:
            if (read.foreign != ForeignFormat::None) return TextIn(TextId::ReadNoRate, russian);
            text = read.kind == BinaryKind::None ? TextId::ReadTimesStill : TextId::ReadBadPeriod;
            break;
    }
    char words[256];
    std::snprintf(words, sizeof words, TextIn(text, russian), read.at);
    return words;
}

std::string RecordCutText(const DataFileRead& read, int russian) {
    if (!read || read.totalSamples <= static_cast<uint64_t>(OscState.LoadedLength)) return {};
    char text[256];
    std::snprintf(text, sizeof text, TextIn(TextId::RecordCutFormat, russian),
                  static_cast<unsigned long long>(read.totalSamples), OscState.LoadedLength);
    return text;
}

}  // namespace korvel
