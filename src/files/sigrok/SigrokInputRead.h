// A file fed to one of libsigrok's input modules (csv, wav) piece by piece,
// its datafeed gathered by a session: the file is never held whole, only a
// piece of it, what the module buffers and the samples kept.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "ports/Exchange.h"

struct sr_context;
typedef struct _GVariant GVariant;

namespace korvel {

struct SigrokInputRequest {
    std::string module;                        // "csv", "wav"
    std::map<std::string, GVariant*> options;  // the request owns a reference of each
    std::string channel;                       // libsigrok's name; empty: the first analog channel
    int32_t maxSamples = 0;
    double unknownUnitScale = 1.0;  // see SigrokAnalogCollector
    size_t longestLine = 0;         // bytes a text line may have; 0: any

    SigrokInputRequest() = default;
    SigrokInputRequest(const SigrokInputRequest&) = delete;
    SigrokInputRequest& operator=(const SigrokInputRequest&) = delete;
    ~SigrokInputRequest();
    // Sets an option from a new (floating) value.
    void Set(const std::string& name, GVariant* value);
};

// What became of the feeding, beside the record, for the format's own words
// on a failure.
struct SigrokInputOutcome {
    bool device = false;   // the module made its device: it understood the start
    bool refused = false;  // the module refused the bytes (libsigrok's words in error)
};

// As Exchange::Read, with the channels and samples as the module names and
// sends them. The rate is that of the module's meta packets (0 if none).
bool ReadThroughInput(sr_context* context, const std::string& path,
                      const SigrokInputRequest& request, ForeignRecord& record,
                      SigrokInputOutcome& outcome, std::string& error);

}  // namespace korvel
