#include "acquisition/SimulatedSource.h"

#include <algorithm>
#include <iterator>

#include "acquisition/Source.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "model/Parameters.h"

namespace korvel {

namespace {

// One linear-congruential generator for the whole run, never reseeded.
uint32_t NoiseState = 1;

int32_t NextNoise() {
    NoiseState = NoiseState * 214013u + 2531011u;
    return static_cast<int32_t>((NoiseState >> 16) & 0x7FFF);
}

// One record of codes into AccBuffer, added to what it holds when accumulate is set.
void FillRecord(bool accumulate) {
    const int32_t n = std::clamp(OscSettings.Num_Data, 0, MaxData);
    const bool invert = OscSettings.Invert == 1;
    float* buffer = OscState.AccBuffer;
    int32_t phase = 0;  // i mod 1000, kept as a counter
    for (int32_t i = 0; i < n; ++i) {
        const int32_t base = phase < 800 ? -40 : 100;
        const int32_t noise = (NextNoise() * 30) / 32767;
        int32_t code = base + noise;
        if (invert) code = -code;
        buffer[i] = accumulate ? static_cast<float>(code + buffer[i]) : static_cast<float>(code);
        if (++phase == 1000) phase = 0;
    }
}

}  // namespace

int32_t AcquireRecord(int32_t action, int32_t& counter) {
    LeaveFileView();
    switch (action) {
        case AcquireCapture:
            FillRecord(counter != 0);
            counter += 1;
            return counter == OscSettings.Acc_Over ? 1 : 0;
        case AcquireTriggered:
            counter = OscState.AccCount;
            FillRecord(OscState.AccCount != 0);
            OscState.AccCount += 1;
            if (OscState.AccCount == OscSettings.Acc_Over) OscState.AccDone = 1;
            return 0;
        case AcquireReset:
            OscState.AccDone = 0;
            OscState.AccCount = 0;
            counter = 0;
            return 0;
        case AcquireQuery:
            counter = OscState.AccCount;
            return 0;
        default:
            return 0;
    }
}

int32_t PollTrigger(int32_t& counter) {
    if (OscState.ExtArmed == 0) return 2;
    AcquireRecord(AcquireTriggered, counter);
    return OscState.AccDone;
}

bool DeviceSetup() {
    RefreshConversion();
    if (OscState.DeviceReady == 1) return false;
    std::fill(std::begin(OscState.Record), std::end(OscState.Record), 0.0f);
    OscState.DeviceReady = 1;
    return true;
}

void ResetSimulatedSource() {
    NoiseState = 1;
}

}  // namespace korvel
