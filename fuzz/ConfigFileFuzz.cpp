// Fuzz target: korvel.ini. Whatever it holds, loading it must leave settings
// in range and a positive sample period; a captured record must then be shown
// with them, and saving and loading again must give the same settings.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "FuzzHarness.h"
#include "files/ConfigFile.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "model/Parameters.h"

namespace {

// The accumulated codes of Acc_Over records of a square wave, as a capture
// leaves them.
void FillAccumulator() {
    const float records = static_cast<float>(korvel::OscSettings.Acc_Over);
    for (int32_t i = 0; i < korvel::MaxData; ++i)
        korvel::OscState.AccBuffer[i] = static_cast<float>(i % 1000 < 800 ? -40 : 100) * records;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace korvel;
    fuzz::ResetProgram();
    fuzz::WriteInput("korvel/korvel.ini", data, size);
    LoadConfig();
    fuzz::RequireSettingsInRange();
    fuzz::Require(std::isfinite(OscState.SamplePeriod) && OscState.SamplePeriod > 0.0f,
                  "SamplePeriod");

    OscSettingsRecord loaded = OscSettings;
    fuzz::Require(SaveConfig().ok(), "SaveConfig failed");
    LoadConfig();
    loaded.Conversion = static_cast<float>(loaded.Amplitude * 0.00390625);
    fuzz::Require(std::memcmp(&loaded, &OscSettings, sizeof loaded) == 0,
                  "saving and loading changed a setting");

    // The main window selects the frequency index, then shows a capture. It
    // is held at 4096 samples: longer records take the same paths and would
    // only slow every input down.
    SetFrequencyIndex(OscSettings.Korv_Freq);
    OscSettings.Num_Data = std::min(OscSettings.Num_Data, 4096);
    const int32_t start = OscSettings.Data_S;
    const int32_t end = OscSettings.Data_E;
    FillAccumulator();
    fuzz::ShowRecord();
    fuzz::MoveSubWindow(start, end);
    return 0;
}
