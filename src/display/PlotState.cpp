#include "display/PlotState.h"

#include "canvas/TextEngine.h"
#include "display/Plot.h"
#include "display/PlotStyle.h"
#include "numeric/Ticks.h"

namespace korvel {

PlotStateRecord PlotState;
PlotArea OverviewArea;
PlotArea SubWindowArea;

void ResetPlotState() {
    PlotState = PlotStateRecord{};
    OverviewArea = PlotArea{};
    SubWindowArea = PlotArea{};
    InstallTextEngine(nullptr);
    ClearPlotFonts();
    PlotCanvas.Resize(0, 0);
}

}  // namespace korvel
