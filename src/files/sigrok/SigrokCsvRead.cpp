#include "files/sigrok/SigrokCsvRead.h"

#include <libsigrokcxx/libsigrokcxx.hpp>

#include "files/sigrok/CsvFault.h"
#include "files/sigrok/CsvLayout.h"
#include "files/sigrok/SigrokInputRead.h"

namespace korvel {

bool ReadSigrokCsv(sigrok::Context& context, const std::string& path, const std::string& head,
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
    request.format = "csv";
    request.options["column_formats"] =
        Glib::Variant<Glib::ustring>::create(CsvColumnFormats(chosen->column));
    request.options["header"] = Glib::Variant<bool>::create(layout.header);
    request.options["column_separator"] = Glib::Variant<Glib::ustring>::create(layout.separator);
    request.options["comment_leader"] = Glib::Variant<Glib::ustring>::create(layout.commentLeader);
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
