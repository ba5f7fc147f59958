// Reading a full record from a data file, against the least any text reader
// must do: one fread of the file and one strtod per number.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "acquisition/SimulatedSource.h"
#include "app/ResetAll.h"
#include "files/DataFileReader.h"
#include "files/DataFileState.h"
#include "files/DataFileWriter.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "model/Parameters.h"

namespace korvel {
namespace {

// A captured record of MaxData samples saved once as text and as binary,
// the way the Save command writes it.
class SavedRecord {
  public:
    SavedRecord() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "korvel-bench-XXXXXX").string();
        folder_ = mkdtemp(pattern.data());
        ResetAllRecords();
        SetFrequencyIndex(0);
        int32_t counter = 0;
        AcquireRecord(AcquireCapture, counter);
        for (int32_t i = 0; i < MaxData; ++i)
            OscState.Record[i] = OscState.AccBuffer[i] * OscSettings.Conversion;
        text_ = folder_ + "/record.ktf";
        binary_ = folder_ + "/record.kbf";
        WriteRecordFile(text_.c_str(), SaveText);
        WriteRecordFile(binary_.c_str(), SaveBinary);
    }
    ~SavedRecord() {
        std::error_code error;
        std::filesystem::remove_all(folder_, error);
    }
    const std::string& Text() const { return text_; }
    const std::string& Binary() const { return binary_; }

  private:
    std::string folder_;
    std::string text_;
    std::string binary_;
};

const SavedRecord& Saved() {
    static const SavedRecord saved;
    return saved;
}

void ReadText(benchmark::State& state) {
    SetDataFileName(Saved().Text().c_str());
    for (auto _ : state) {
        if (!ReadDataFile(DataFileText)) state.SkipWithError("text file not read");
        benchmark::DoNotOptimize(OscState.FileData);
    }
}

void ReadBinary(benchmark::State& state) {
    SetDataFileName(Saved().Binary().c_str());
    for (auto _ : state) {
        if (!ReadDataFile(DataFileBinary)) state.SkipWithError("binary file not read");
        benchmark::DoNotOptimize(OscState.FileData);
    }
}

void ReadTextFloor(benchmark::State& state) {
    const std::string& path = Saved().Text();
    const size_t size = std::filesystem::file_size(path);
    std::vector<char> bytes(size + 1);
    std::vector<float> values(MaxData);
    for (auto _ : state) {
        std::FILE* file = std::fopen(path.c_str(), "rb");
        const size_t got = std::fread(bytes.data(), 1, size, file);
        std::fclose(file);
        bytes[got] = '\0';
        char* p = bytes.data();
        for (int32_t i = 0; i < MaxData; ++i) {
            std::strtod(p, &p);
            values[i] = static_cast<float>(std::strtod(p, &p));
        }
        benchmark::DoNotOptimize(values.data());
    }
}

BENCHMARK(ReadText)->Name("ReadDataFile/text65534")->Unit(benchmark::kMillisecond);
BENCHMARK(ReadBinary)->Name("ReadDataFile/binary65534")->Unit(benchmark::kMillisecond);
BENCHMARK(ReadTextFloor)->Name("ReadTextFloor/65534")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvel
