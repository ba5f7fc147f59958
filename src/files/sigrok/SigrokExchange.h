// Other tools' file formats through libsigrok: sigrok sessions by its
// session loader and srzip output, CSV and WAV by its input and output
// modules, all through its C calls on the process's context (the C++
// bindings of 0.5.2 lose memory there). No libsigrok or GLib header is seen
// from here.
//
// Units: the program's millivolts are written as volts, which is what
// libsigrok's formats hold (the session loader says volts; libsigrok's csv
// output captions such a column "V"), and read back by the unit a file tells:
// volts from a session, from a CSV column captioned in V, mV, uV or kV;
// a CSV column without a unit holds millivolts; a WAV file's samples are
// volts, full scale 1 V. Rates are whole hertz in all three formats
// (libsigrok's rate is an integer): a rate is rounded to the nearest one
// when written.
#pragma once

#include <mutex>

#include "ports/Exchange.h"

namespace korvel {

class SigrokExchange : public Exchange {
  public:
    // The file is fed to libsigrok a piece at a time; besides the samples
    // kept, nothing grows with its length.
    bool Read(const std::string& path, ForeignFormat format, const std::string& channel,
              int32_t maxSamples, ForeignRecord& record, std::string& error) override;

    // A session holds float volts; a WAV file 32-bit float volts with its
    // sizes set; a CSV file libsigrok's comments, the rate's comment, the
    // caption "V" and the volts as "%g" (six significant digits).
    bool Write(ForeignFormat format, const float* samplesMv, int32_t count, double sampleRateHz,
               const std::string& channel, std::string& bytes, std::string& error) override;

  private:
    // libsigrok's context is shared; one file at a time goes through it here.
    std::mutex mutex_;
};

}  // namespace korvel
