#include "files/sigrok/SigrokExchange.h"

#include <cmath>
#include <cstdio>

#include "files/InputFile.h"
#include "files/sigrok/CsvRateComment.h"
#include "files/sigrok/ExactMillivolts.h"
#include "files/sigrok/SigrokCsvRead.h"
#include "files/sigrok/SigrokOutputWrite.h"
#include "files/sigrok/SigrokSessionRead.h"
#include "files/sigrok/SigrokWavRead.h"
#include "files/sigrok/VoltScale.h"
#include "files/sigrok/WavSizes.h"
#include "ports/sigrok/SigrokContext.h"

namespace korvel {

namespace {

// Enough of a file's start for its layout: a CSV file's comments, header
// and the lines its rate is taken from; a WAV file's header.
constexpr size_t kHeadBytes = 256 * 1024;

// libsigrok's rates are 64-bit integers; a WAV header has 32 bits for one.
constexpr double kHighestRateHz = 1e18;
constexpr double kHighestWavRateHz = 4294967295.0;

}  // namespace

bool SigrokExchange::Read(const std::string& path, ForeignFormat format, const std::string& channel,
                          int32_t maxSamples, ForeignRecord& record, std::string& error) {
    record = ForeignRecord{};
    if (format == ForeignFormat::None) {
        error = "not a format of other tools";
        return false;
    }
    std::string head(kHeadBytes + 1, '\0');
    bool whole = false;
    {
        InputFile file(path, InputKinds::RegularFiles, SIZE_MAX);
        if (!file.IsOpen()) {
            error = "cannot read the file: " + FileStatusText(file.Status(), 0);
            return false;
        }
        head.resize(file.Read(head.data(), head.size()));
        if (!file.Status()) {
            error = "cannot read the file: " + FileStatusText(file.Status(), 0);
            return false;
        }
        whole = head.size() <= kHeadBytes;
        if (!whole) head.resize(kHeadBytes);
    }
    if (head.empty()) {
        error = "the file is empty";
        return false;
    }

    std::lock_guard<std::mutex> lock(mutex_);
    sr_context* context = SigrokProcessCContext(error);
    if (context == nullptr) return false;
    bool read = false;
    switch (format) {
        case ForeignFormat::Session:
            read = ReadSigrokSession(context, path, head, channel, maxSamples, record, error);
            break;
        case ForeignFormat::Csv:
            read = ReadSigrokCsv(context, path, head, whole, channel, maxSamples, record, error);
            break;
        case ForeignFormat::Wav:
            read = ReadSigrokWav(context, path, head, whole, channel, maxSamples, record, error);
            break;
        case ForeignFormat::None:
            break;
    }
    if (!read) {
        const std::vector<std::string> channels = std::move(record.channels);
        record = ForeignRecord{};
        record.channels = channels;
    }
    return read;
}

bool SigrokExchange::Write(ForeignFormat format, const float* samplesMv, int32_t count,
                           double sampleRateHz, const std::string& channel, std::string& bytes,
                           std::string& error) {
    bytes.clear();
    const char* module = format == ForeignFormat::Session ? "srzip"
                         : format == ForeignFormat::Csv   ? "csv"
                         : format == ForeignFormat::Wav   ? "wav"
                                                          : nullptr;
    if (module == nullptr) {
        error = "not a format of other tools";
        return false;
    }
    if (samplesMv == nullptr || count <= 0) {
        error = "no samples to write";
        return false;
    }
    const double highest = format == ForeignFormat::Wav ? kHighestWavRateHz : kHighestRateHz;
    if (!(sampleRateHz >= 0.5 && sampleRateHz < highest + 0.5)) {
        char text[96];
        std::snprintf(text, sizeof text, "the sample rate %g Hz cannot be written", sampleRateHz);
        error = text;
        return false;
    }
    const auto rateHz = static_cast<uint64_t>(std::llround(sampleRateHz));

    std::vector<float> volts(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i)
        volts[static_cast<size_t>(i)] = VoltsOfMillivolts(samplesMv[i]);

    std::lock_guard<std::mutex> lock(mutex_);
    // The outputs need no context, but libsigrok is set up with it.
    if (SigrokProcessCContext(error) == nullptr) return false;
    if (!WriteThroughOutput(module, volts, rateHz, channel.empty() ? std::string("CH1") : channel,
                            bytes, error)) {
        bytes.clear();
        return false;
    }
    // libsigrok's caption of a volt column without flags.
    if (format == ForeignFormat::Csv) InsertCsvRateAndCaption(bytes, rateHz, "V");
    if (format == ForeignFormat::Wav) SetWavSizes(bytes);
    if (format == ForeignFormat::Session &&
        !AddExactMillivolts(bytes, channel.empty() ? std::string("CH1") : channel, samplesMv,
                            count)) {
        bytes.clear();
        error = "the session archive could not be completed";
        return false;
    }
    return true;
}

}  // namespace korvel
