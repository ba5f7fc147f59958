#include "model/Conversions.h"

#include "model/OscSettings.h"
#include "model/OscState.h"

namespace korvel {

RangeView VerticalRange() {
    if (OscSettings.AutoNorm == 0) {
        return {OscSettings.D_min, OscSettings.D_max, OscState.Record};
    }
    return {OscState.DataMin, OscState.DataMax, OscState.Record};
}

RangeView ViewRange() {
    return {OscState.ViewMin, OscState.ViewMax, OscState.Record};
}

float RecordValue(int32_t i) {
    return OscState.Record[i];
}

double IndexToTime(double x) {
    return x * static_cast<double>(OscState.SamplePeriod);
}

double TimeToIndex(double t) {
    return t / static_cast<double>(OscState.SamplePeriod);
}

void RequestAutoNorm() {
    if (OscSettings.AutoNorm != 0) OscState.AutoNormPending = 1;
}

}  // namespace korvel
