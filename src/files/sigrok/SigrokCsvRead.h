// A CSV file read through libsigrok's csv input, laid out beforehand by the
// program (CsvLayout): one analog column, its unit and the rate.
#pragma once

#include <cstdint>
#include <string>

#include "ports/Exchange.h"

struct sr_context;

namespace korvel {

// Lines longer than this are refused: libsigrok holds a line whole until
// its end arrives.
constexpr size_t kLongestCsvLine = 1 << 20;

// As Exchange::Read for ForeignFormat::Csv; head holds the file's first
// bytes (whole: all of them).
bool ReadSigrokCsv(sr_context* context, const std::string& path, const std::string& head,
                   bool whole, const std::string& channel, int32_t maxSamples,
                   ForeignRecord& record, std::string& error);

}  // namespace korvel
