#include "DataFileFuzz.h"

#include <cstring>

#include "FuzzHarness.h"
#include "files/DataFileReader.h"
#include "files/DataFileState.h"
#include "model/OscSettings.h"
#include "model/OscState.h"

namespace korvel::fuzz {

namespace {

// A recognisable record in place before the read, to see that a refused file
// leaves it alone.
constexpr int32_t ShownLength = 100;

void ShowRecordBefore() {
    for (int32_t i = 0; i < ShownLength; ++i)
        OscState.FileData[i] = static_cast<float>(i);
    OscState.LoadedLength = ShownLength;
    OscSettings.Num_Data = ShownLength;
    OscState.SamplePeriod = 0.5f;
    OscState.TimeOffset = 3.0f;
}

bool ShownRecordUnchanged() {
    for (int32_t i = 0; i < ShownLength; ++i) {
        if (OscState.FileData[i] != static_cast<float>(i)) return false;
    }
    return OscState.LoadedLength == ShownLength && OscSettings.Num_Data == ShownLength &&
           OscState.TimeOffset == 3.0f && OscState.FileView == 0;
}

}  // namespace

void ReadDataFileInput(int32_t mode, const uint8_t* data, size_t size) {
    ResetProgram();
    ShowRecordBefore();
    // The extension does not matter to the reader; the companion file (x.cf)
    // never exists here, so only the data file's own bytes count.
    const std::string path = WriteInput("x.kdf", data, size);
    std::strcpy(DataFiles.DataFileName, path.c_str());
    const OscSettingsRecord before = OscSettings;

    if (!ReadDataFile(mode)) {
        Require(ShownRecordUnchanged(), "a refused file changed the shown record");
        Require(std::memcmp(&before, &OscSettings, sizeof before) == 0,
                "a refused file changed the settings");
        return;
    }
    RequireAcceptedRecord();
    RequireSettingsInRange();
    ShowRecord();
}

}  // namespace korvel::fuzz
