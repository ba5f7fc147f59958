#include "spectrum/SpectrumTips.h"

#include "model/OscState.h"
#include "model/Texts.h"
#include "ports/SpectrumControlIds.h"

namespace korvel {

const char* SpectrumTipText(SpectrumBar bar, int32_t id) {
    if (bar == SpectrumBar::Bottom) {
        switch (id) {
            case spectrumBottom::Min:
            case spectrumBottom::MinLabel:
                return Text(TextId::SpectrumTipMin);
            case spectrumBottom::Width:
            case spectrumBottom::WidthLabel:
                return Text(TextId::SpectrumTipWidth);
            case spectrumBottom::MaxFreq:
                return Text(TextId::SpectrumTipMax);
            default:
                return nullptr;
        }
    }
    switch (id) {
        case spectrumTop::Save:
            return Text(TextId::SpectrumTipSave);
        case spectrumTop::Run:
            return Text(TextId::SpectrumTipRun);
        case spectrumTop::Accumulate:
            return Text(TextId::SpectrumTipAccumulate);
        case spectrumTop::Counter:
            return OscState.SpectrumRunning == 1 ? Text(TextId::SpectrumTipCounter) : nullptr;
        case spectrumTop::Copy:
            return Text(TextId::SpectrumTipCopy);
        default:
            return nullptr;
    }
}

}  // namespace korvel
