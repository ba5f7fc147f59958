#include "files/MainWindowFrequency.h"

#include <cstdio>

#include "acquisition/Conversions.h"
#include "acquisition/Parameters.h"
#include "app/ControlIds.h"
#include "app/OscSettings.h"
#include "app/OscState.h"
#include "app/Ports.h"

namespace korvel {

void SelectMainFrequency(int32_t k) {
    Ports.topBar->SelectListItem(top::FrequencyList, k);
    SetFrequencyIndex(k);
    const double start = IndexToTime(OscSettings.Data_S);
    char text[64];
    std::snprintf(text, sizeof text, "%f", start + OscState.TimeOffset);
    Ports.bottomBar->SetText(bottom::Min, text);
    std::snprintf(text, sizeof text, "%f", IndexToTime(OscSettings.Data_E) - start);
    Ports.bottomBar->SetText(bottom::Width, text);
    Ports.bottomBar->Repaint();
}

void RebuildMainFrequencyList() {
    Ports.topBar->ClearList(top::FrequencyList);
    for (int32_t k = 0; k < 4; ++k) {
        char text[64];
        FormatFrequencyItem(k, text, sizeof text);
        Ports.topBar->AddListItem(top::FrequencyList, text);
    }
    Ports.topBar->SelectListItem(top::FrequencyList, OscSettings.Korv_Freq);
}

}  // namespace korvel
