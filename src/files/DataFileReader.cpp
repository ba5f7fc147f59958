#include "files/DataFileReader.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "files/CompanionFile.h"
#include "files/DataFileFormat.h"
#include "files/DataFileState.h"
#include "files/DataLineScan.h"
#include "model/OscSettings.h"
#include "model/OscState.h"

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
    bool finiteValues = true;
};

class File {
  public:
    explicit File(const char* path) : file_(std::fopen(path, "rb")) {}
    ~File() {
        if (file_ != nullptr) std::fclose(file_);
    }
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    bool IsOpen() const { return file_ != nullptr; }

    // Reads until size bytes have arrived or the file ends; returns the count.
    size_t Read(void* bytes, size_t size) {
        size_t got = 0;
        while (got < size) {
            const size_t step = std::fread(static_cast<char*>(bytes) + got, 1, size - got, file_);
            if (step == 0) break;
            got += step;
        }
        return got;
    }

  private:
    std::FILE* file_;
};

float LittleEndianFloat(const unsigned char* bytes) {
    const uint32_t bits = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                          static_cast<uint32_t>(bytes[2]) << 16 |
                          static_cast<uint32_t>(bytes[3]) << 24;
    return std::bit_cast<float>(bits);
}

bool Acceptable(const ReadRecord& record) {
    return record.count > 0 && record.finiteValues && std::isfinite(record.firstTimeUs) &&
           std::isfinite(record.periodUs) && record.periodUs > 0.0f;
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

bool ReadText(File& file) {
    ReadRecord record;
    float timeUs = 0.0f;  // the first number of the last line that had one
    float valueMv = 0.0f;
    float stepNote = NAN;       // the step noted on that line
    bool noteOnSample = false;  // that line is a sample's own line
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
            if (record.count == 0) record.firstTimeUs = timeUs;
            record.finiteValues &= std::isfinite(valueMv);
            Staged[record.count++] = valueMv;
        }
    }
    if (record.count == 0) return false;
    record.periodUs = PeriodOfSpan(timeUs, record.firstTimeUs, record.count);
    // On a sample's own line the time stamp is that sample's: the span holds
    // one step less than there are samples.
    const int32_t steps = noteOnSample ? record.count - 1 : record.count;
    if (steps >= 1 && StepNoteAgrees(stepNote, PeriodOfSpan(timeUs, record.firstTimeUs, steps),
                                     timeUs, record.firstTimeUs, steps)) {
        record.periodUs = stepNote;
    }
    if (!Acceptable(record)) return false;
    Accept(record);
    return true;
}

bool ReadBinary(File& file) {
    unsigned char header[BinaryHeaderBytes];
    const size_t got = file.Read(header, sizeof header);
    if (got < 4) return false;
    const BinaryKind kind = BinaryKindOf(reinterpret_cast<const char*>(header));
    if (kind == BinaryKind::None) return false;
    if (got < sizeof header) {
        if (got >= 8) OscState.SamplePeriod = LittleEndianFloat(header + 4);
        return false;
    }
    ReadRecord record;
    record.periodUs = LittleEndianFloat(header + 4);
    record.firstTimeUs = LittleEndianFloat(header + 8);

    unsigned char body[8];
    const size_t bodyBytes = kind == BinaryKind::SignedCodes     ? 8
                             : kind == BinaryKind::UnsignedCodes ? 4
                                                                 : 0;
    if (file.Read(body, bodyBytes) < bodyBytes) return false;
    const float conversion = bodyBytes >= 4 ? LittleEndianFloat(body) : 0.0f;
    const float zeroLevel = bodyBytes >= 8 ? LittleEndianFloat(body + 4) : 0.0f;

    const size_t sampleBytes = kind == BinaryKind::Floats ? 4 : 1;
    const size_t bytes = file.Read(Chunk, static_cast<size_t>(MaxData) * sampleBytes);
    record.count = static_cast<int32_t>(bytes / sampleBytes);
    const auto* codes = reinterpret_cast<const unsigned char*>(Chunk);
    bool finite = true;
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
        finite &= std::isfinite(value);
        Staged[i] = value;
    }
    record.finiteValues = finite;
    if (!Acceptable(record)) return false;

    Accept(record);
    if (kind != BinaryKind::Floats) OscSettings.Conversion = conversion;
    if (kind == BinaryKind::SignedCodes) OscSettings.ZeroLevel = zeroLevel;
    OscSettings.Bipolar = kind == BinaryKind::UnsignedCodes ? 0 : 1;
    return true;
}

int32_t DetectedMode(const char* path) {
    File file(path);
    if (!file.IsOpen()) return 0;
    char magic[4];
    if (file.Read(magic, sizeof magic) < sizeof magic) return 0;
    return BinaryKindOf(magic) != BinaryKind::None ? DataFileBinary : DataFileText;
}

}  // namespace

bool ReadDataFile(int32_t mode) {
    OscState.DataMin = 0.0f;
    OscState.DataMax = 0.0f;
    const char* path = DataFiles.DataFileName;
    if (mode == DataFileDetect) mode = DetectedMode(path);
    if (mode != DataFileText && mode != DataFileBinary) return false;

    {
        File file(path);
        if (!file.IsOpen()) return false;
        const bool read = mode == DataFileText ? ReadText(file) : ReadBinary(file);
        if (!read) return false;
    }
    OscSettings.Num_Data = OscState.LoadedLength;
    OscState.FileView = 1;
    ReadCompanionSettings(path);
    return true;
}

}  // namespace korvel
