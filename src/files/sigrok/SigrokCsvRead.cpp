#include "files/sigrok/SigrokCsvRead.h"

#include <glib.h>

#include "files/sigrok/CsvFault.h"
#include "files/sigrok/CsvLayout.h"
#include "files/sigrok/SigrokInputRead.h"

namespace korvel {

bool ReadSigrokCsv(sr_context* context, const std::string& path, const std::string& head,
                   bool whole, const std::string& channel, int32_t maxSamples,
                   ForeignRecord& record, std::string& error) {
    CsvLayout layout;
    if (!ScanCsvLayout(head, whole, layout, error)) return false;
    const CsvChannel* chosen = nullptr;
    for (const CsvChannel& each : layout.channels) {
        if (channel.empty() || each.name == channel) {
            chosen = &each;
            break;
        }
    }
    if (chosen == nullptr) {
        error = "no analog channel called " + channel;
        return false;
    }

    // The module is told the one column it reads: the others are neither
    // parsed nor checked, and its device has that one analog channel.
    SigrokInputRequest request;
    request.module = "csv";
    request.Set("column_formats", g_variant_new_string(CsvColumnFormats(chosen->column).c_str()));
    request.Set("header", g_variant_new_boolean(layout.header));
    request.Set("column_separator", g_variant_new_string(layout.separator.c_str()));
    request.Set("comment_leader", g_variant_new_string(layout.commentLeader.c_str()));
    request.maxSamples = maxSamples;
    request.unknownUnitScale = chosen->scaleToMv;
    request.longestLine = kLongestCsvLine;

    ForeignRecord read;
    SigrokInputOutcome outcome;
    if (!ReadThroughInput(context, path, request, read, outcome, error)) {
        if (outcome.refused) {
            const std::string fault = FindCsvFault(path, layout, chosen->column, kLongestCsvLine);
            error = fault.empty() ? "libsigrok cannot read the file: " + error : fault;
        } else if (error.empty()) {
            error = "no samples";
        }
        return false;
    }
    if (read.totalSamples == 0) {
        error = "no samples";
        return false;
    }
    for (const CsvChannel& each : layout.channels)
        record.channels.push_back(each.name);
    record.channel = chosen->name;
    record.samplesMv = std::move(read.samplesMv);
    record.totalSamples = read.totalSamples;
    record.sampleRateHz = layout.sampleRateHz;
    return true;
}

}  // namespace korvel
