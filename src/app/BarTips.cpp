#include "app/BarTips.h"

#include <cstddef>

#include "model/Texts.h"
#include "ports/ControlIds.h"

namespace korvel {

namespace {

struct Tip {
    int32_t id;
    TextId text;
};

constexpr Tip TopTips[] = {
    {top::Open, TextId::TipOpen},
    {top::Save, TextId::TipSave},
    {top::WinSave, TextId::TipWinSave},
    {top::FrequencyList, TextId::TipFrequency},
    {top::StartStop, TextId::TipStartStop},
    {top::External, TextId::TipExternal},
    {top::AccumulatorLabel, TextId::TipAccumulator},
    {top::Accumulator, TextId::TipAccumulator},
    {top::AccumulatorSpin, TextId::TipAccumulator},
    {top::Oscillograf, TextId::TipOscillograf},
    {top::OscFreq, TextId::TipOscFreq},
    {top::ShowSpectrum, TextId::TipShowSpectrum},
};

constexpr Tip BottomTips[] = {
    {bottom::MinLabel, TextId::TipSubWindowStart},
    {bottom::Min, TextId::TipSubWindowStart},
    {bottom::WidthLabel, TextId::TipSubWindowLength},
    {bottom::Width, TextId::TipSubWindowLength},
    {bottom::CopyPlot, TextId::TipCopyPlot},
    {bottom::AverageLabel, TextId::TipAverage},
    {bottom::Average, TextId::TipAverage},
    {bottom::AverageSpin, TextId::TipAverage},
    {bottom::SetZero, TextId::TipSetZero},
    {bottom::FollowMode, TextId::TipFollowMode},
};

template <std::size_t N>
const char* Find(const Tip (&tips)[N], int32_t id) {
    for (const Tip& tip : tips) {
        if (tip.id == id) return Text(tip.text);
    }
    return nullptr;
}

}  // namespace

const char* TipText(Bar bar, int32_t id) {
    return bar == Bar::Top ? Find(TopTips, id) : Find(BottomTips, id);
}

}  // namespace korvel
