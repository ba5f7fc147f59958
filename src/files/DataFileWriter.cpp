#include "files/DataFileWriter.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <string>

#include "files/CompanionFile.h"
#include "files/DataFileFormat.h"
#include "files/FileReplace.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "ports/Ports.h"

namespace korvel {

namespace {

// Enough digits for every float to read back as itself.
constexpr int FloatDigits = 9;

void AppendNumber(std::string& text, float value) {
    char digits[32];
    const auto result = std::to_chars(digits, digits + sizeof digits, value,
                                      std::chars_format::general, FloatDigits);
    text.append(digits, result.ptr);
}

void AppendFloatBits(std::string& bytes, float value) {
    const uint32_t bits = std::bit_cast<uint32_t>(value);
    for (int k = 0; k < 4; ++k)
        bytes.push_back(static_cast<char>(bits >> (8 * k)));
}

void AppendStepNote(std::string& text) {
    text.append(" step ");
    AppendNumber(text, OscState.SamplePeriod);
}

float SampleTime(int32_t index) {
    return static_cast<float>(static_cast<double>(OscState.TimeOffset) +
                              static_cast<double>(index) *
                                  static_cast<double>(OscState.SamplePeriod));
}

std::string TextFile(int32_t first, int32_t count) {
    const float firstTime = SampleTime(first);
    std::string text;
    text.reserve(static_cast<size_t>(count + 1) * 34);
    for (int32_t k = 0; k < count; ++k) {
        AppendNumber(text, SampleTime(first + k));
        text.push_back(' ');
        AppendNumber(text, OscState.Record[first + k]);
        if (k == MaxData - 1) AppendStepNote(text);
        text.push_back('\n');
    }
    if (count < MaxData) {
        AppendNumber(text, SpanEndTime(firstTime, OscState.SamplePeriod, count));
        AppendStepNote(text);
        text.push_back('\n');
    }
    return text;
}

std::string BinaryFile(int32_t first, int32_t count) {
    std::string bytes = "KFRF";
    bytes.reserve(BinaryHeaderBytes + static_cast<size_t>(count) * 4);
    AppendFloatBits(bytes, OscState.SamplePeriod);
    AppendFloatBits(bytes, SampleTime(first));
    for (int32_t k = 0; k < count; ++k)
        AppendFloatBits(bytes, OscState.Record[first + k]);
    return bytes;
}

// The channel's name in another tool's file.
constexpr const char* ForeignChannelName = "CH1";

DataFileWrite WriteForeign(const char* path, int32_t format, int32_t first, int32_t count) {
    const ForeignFormat kind = format == SaveSession ? ForeignFormat::Session
                               : format == SaveCsv   ? ForeignFormat::Csv
                                                     : ForeignFormat::Wav;
    DataFileWrite write;
    write.failedPath = path;
    std::string bytes;
    std::string error;
    const double rateHz = 1e6 / static_cast<double>(OscState.SamplePeriod);
    if (!Ports.exchange->Write(kind, OscState.Record + first, count, rateHz, ForeignChannelName,
                               bytes, error)) {
        write.status = SystemFault(EINVAL);
        write.detail = error;
        return write;
    }
    write.status = ReplaceFileContents(path, bytes);
    if (write.status) write.result = DataFileWritten;
    return write;
}

}  // namespace

float SpanEndTime(float firstTimeUs, float periodUs, int32_t count) {
    const float guess =
        static_cast<float>(static_cast<double>(firstTimeUs) +
                           static_cast<double>(count) * static_cast<double>(periodUs));
    // The step grows with the time stamp, so the best stamp lies among the
    // closest floats on either side of the exact one.
    float best = guess;
    double bestError = INFINITY;
    float below = guess;
    float above = guess;
    for (int step = 0; step < 16; ++step) {
        for (const float candidate : {below, above}) {
            const double error = std::fabs(
                static_cast<double>(PeriodOfSpan(candidate, firstTimeUs, count)) - periodUs);
            if (error < bestError) {
                best = candidate;
                bestError = error;
            }
        }
        if (bestError == 0.0) break;
        below = std::nextafter(below, -INFINITY);
        above = std::nextafter(above, INFINITY);
    }
    return best;
}

DataFileWrite WriteDataFile(const char* path, int32_t format, int32_t first, int32_t last) {
    first = std::max(first, 0);
    last = std::min({last, OscSettings.Num_Data - 1, MaxData - 1});
    DataFileWrite write;
    write.failedPath = path;
    if (first > last || format < SaveText || format > SaveWav) {
        write.status = SystemFault(EINVAL);
        return write;
    }
    const int32_t count = last - first + 1;
    if (format >= SaveSession && format <= SaveWav) return WriteForeign(path, format, first, count);
    const std::string contents =
        format == SaveText ? TextFile(first, count) : BinaryFile(first, count);
    const std::string companion = CompanionPath(path);
    if (companion.empty()) {
        // A name too short to have a companion: the data alone, and said so.
        write.status = ReplaceFileContents(path, contents);
        if (write.status) write = {CompanionNotWritten, SystemFault(EINVAL), companion, {}};
        return write;
    }
    const PairStatus pair = ReplaceFilePair(path, contents, companion, CompanionText());
    if (pair.status) return {DataFileWritten, {}, {}, {}};
    write.status = pair.status;
    if (pair.failed == 2) write.failedPath = companion;
    if (pair.firstReplaced) write.result = CompanionNotWritten;
    return write;
}

DataFileWrite WriteRecordFile(const char* path, int32_t format) {
    return WriteDataFile(path, format, 0, OscSettings.Num_Data - 1);
}

DataFileWrite WriteWindowFile(const char* path, int32_t format) {
    return WriteDataFile(path, format, OscSettings.Data_S, OscSettings.Data_E);
}

}  // namespace korvel
