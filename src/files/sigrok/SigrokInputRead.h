// A file fed to one of libsigrok's input modules (csv, wav) piece by piece,
// its datafeed gathered by a session: the file is never held whole, only a
// piece of it and the samples kept.
#pragma once

#include <glibmm/variant.h>

#include <cstdint>
#include <map>
#include <string>

#include "ports/Exchange.h"

namespace sigrok {
class Context;
}  // namespace sigrok

namespace korvel {

struct SigrokInputRequest {
    std::string format;  // the module: "csv", "wav"
    std::map<std::string, Glib::VariantBase> options;
    std::string channel;  // libsigrok's name; empty: the first analog channel
    int32_t maxSamples = 0;
    double unknownUnitScale = 1.0;  // see SigrokAnalogCollector
    size_t longestLine = 0;         // bytes a text line may have; 0: any
};

// What became of the feeding, beside the record, for the format's own words
// on a failure.
struct SigrokInputOutcome {
    bool device = false;   // the module made its device: it understood the start
    bool refused = false;  // the module refused the bytes (libsigrok's words in error)
};

// As Exchange::Read, with the channels and samples as the module names and
// sends them. The rate is that of the module's meta packets (0 if none).
bool ReadThroughInput(sigrok::Context& context, const std::string& path,
                      const SigrokInputRequest& request, ForeignRecord& record,
                      SigrokInputOutcome& outcome, std::string& error);

}  // namespace korvel
