// Fuzz target: the companion settings file read after a data file. The data
// file is always the same record; the companion file is the input. The
// settings it leaves must be in range, and the record must then be shown and
// its sub-window moved where the companion file put it without harm.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "FuzzHarness.h"
#include "files/DataFileReader.h"
#include "files/DataFileState.h"
#include "model/OscSettings.h"

namespace {

// 0 1, 1 2, ... : a record of 2000 samples, long enough for any sub-window.
const std::string& DataFile() {
    static const std::string path = [] {
        std::string text;
        for (int i = 0; i < 2000; ++i)
            text += std::to_string(i) + " " + std::to_string(i % 37) + "\n";
        return korvel::fuzz::WriteInput("rec.ktf", reinterpret_cast<const uint8_t*>(text.data()),
                                        text.size());
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace korvel;
    fuzz::ResetProgram();
    const std::string& path = DataFile();
    fuzz::WriteInput("rec.cf", data, size);
    std::strcpy(DataFiles.DataFileName, path.c_str());
    fuzz::Require(ReadDataFile(DataFileText).problem == ReadProblem::None,
                  "the data file beside the input was refused");
    fuzz::RequireAcceptedRecord();
    fuzz::RequireSettingsInRange();
    const int32_t start = OscSettings.Data_S;
    const int32_t end = OscSettings.Data_E;
    fuzz::ShowRecord();
    fuzz::MoveSubWindow(start, end);
    return 0;
}
