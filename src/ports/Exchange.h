// The file formats of other tools: sigrok session files (.sr), CSV and WAV,
// read and written through libsigrok's input and output modules rather than
// parsers of our own. A record crosses as one analog channel of samples in
// millivolts at a sample rate. The default implementation knows none of them
// (a build without libsigrok): the program's own formats work as ever.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace korvel {

enum class ForeignFormat : int32_t {
    None,
    Session,  // sigrok session, .sr (a zip archive)
    Csv,      // comma-separated values with a header line
    Wav,      // RIFF WAVE
};

// The format a file's name asks for, by its extension (any case): .sr, .csv,
// .wav; None for any other.
ForeignFormat ForeignFormatOfName(const std::string& path);

// One analog channel as read from a foreign file.
struct ForeignRecord {
    std::vector<std::string> channels;  // every analog channel of the file, in its order
    std::string channel;                // the one read
    std::vector<float> samplesMv;       // its samples, at most the limit asked for
    uint64_t totalSamples = 0;          // how many the channel has in the file
    double sampleRateHz = 0.0;          // 0 when the file does not say
};

class Exchange {
  public:
    virtual ~Exchange() = default;

    // Reads channel (empty: the first analog one) of the file at path, which
    // holds format, keeping at most maxSamples samples. False, with error in a
    // few words ("no analog channel", "column 2 is not a number on line 7",
    // "no frames", "a damaged zip archive"), when it cannot.
    virtual bool Read(const std::string& /*path*/, ForeignFormat /*format*/,
                      const std::string& /*channel*/, int32_t /*maxSamples*/,
                      ForeignRecord& /*record*/, std::string& error) {
        error = "this build of KORVEL reads no files of other tools (libsigrok)";
        return false;
    }

    // The whole contents of a file of format holding count samples (mV) of
    // one channel named channel, sampleRateHz apart. False, with error, when
    // it cannot be made.
    virtual bool Write(ForeignFormat /*format*/, const float* /*samplesMv*/, int32_t /*count*/,
                       double /*sampleRateHz*/, const std::string& /*channel*/,
                       std::string& /*bytes*/, std::string& error) {
        error = "this build of KORVEL writes no files of other tools (libsigrok)";
        return false;
    }
};

}  // namespace korvel
