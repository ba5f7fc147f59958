#include "app/BarTips.h"

#include <gtest/gtest.h>

#include "ports/ControlIds.h"
#include "model/OscState.h"
#include "support/CoreTest.h"

namespace korvel {
namespace {

using BarTips = test::CoreTest;

// The same id names different controls in the two bars: the bar decides.
TEST_F(BarTips, TheBarDecidesWhatAnIdMeans) {
    EXPECT_STREQ(TipText(Bar::Top, 1027), "Set Accumulator");
    EXPECT_STREQ(TipText(Bar::Bottom, 1027), "Set SubWindow length");
    EXPECT_STREQ(TipText(Bar::Bottom, 1026), "Set SubWindow start");
    EXPECT_EQ(TipText(Bar::Top, 1026), nullptr);
    EXPECT_EQ(TipText(Bar::Bottom, top::StartStop), nullptr);
    EXPECT_EQ(TipText(Bar::Bottom, bottom::MinUnit), nullptr);
    EXPECT_EQ(TipText(Bar::Top, top::Progress), nullptr);
    OscState.Russian = 1;
    EXPECT_STREQ(TipText(Bar::Top, top::AccumulatorSpin), "Задать число накоплений");
    EXPECT_STREQ(TipText(Bar::Bottom, bottom::AverageSpin), "Установить ширину окна усреднения");
}

}  // namespace
}  // namespace korvel
