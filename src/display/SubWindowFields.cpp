#include "display/SubWindowFields.h"

#include <cstdio>

#include "display/Plot.h"
#include "display/PlotScale.h"
#include "display/PlotState.h"
#include "model/Conversions.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "ports/ControlIds.h"
#include "ports/Ports.h"

namespace korvel {

bool ScanSubWindowField(int32_t id, float& value) {
    char text[50];
    Ports.bottomBar->GetText(id, text, sizeof text);
    return std::sscanf(text, "%g", &value) == 1;
}

void SubWindowFieldChanged() {
    if (PlotState.EditsLive == 0) return;
    float typed = 0.0f;
    const double startTime =
        ScanSubWindowField(bottom::Min, typed) ? typed : ShownTime(OscSettings.Data_S);
    const int32_t start = SaturatedTrunc(TimeToIndex(startTime - OscState.TimeOffset));
    const double widthTime = ScanSubWindowField(bottom::Width, typed)
                                 ? typed
                                 : IndexToTime(OscSettings.Data_E - OscSettings.Data_S);
    const int32_t end = SaturatedTrunc(TimeToIndex(widthTime)) + start;
    SetSubWindow(start, end);
}

}  // namespace korvel
