#include "app/BarTips.h"

#include <gtest/gtest.h>

#include "app/ControlIds.h"
#include "app/OscState.h"
#include "support/CoreTest.h"

namespace korvel {
namespace {

using BarTips = test::CoreTest;

// The same id names different controls in the two bars; the bar decides.
TEST_F(BarTips, TheBarDecidesWhatAnIdMeans) {
    EXPECT_STREQ(TipText(Bar::Top, 1027), "Set Accumulator");
    EXPECT_STREQ(TipText(Bar::Bottom, 1027), "Set SubWindow length");
    EXPECT_STREQ(TipText(Bar::Bottom, 1026), "Set SubWindow start");
    EXPECT_EQ(TipText(Bar::Top, 1026), nullptr);
    EXPECT_EQ(TipText(Bar::Bottom, top::StartStop), nullptr);
    EXPECT_EQ(TipText(Bar::Top, bottom::Average), nullptr);
}

TEST_F(BarTips, EveryTippedControlInBothLanguages) {
    struct Row {
        Bar bar;
        int32_t id;
        const char* english;
        const char* russian;
    };
    const Row rows[] = {
        {Bar::Top, 57601, "Open KORVEL data", "Открыть файл данных"},
        {Bar::Top, 57603, "Save KORVEL data", "Сохранить в файл"},
        {Bar::Top, 57604, "Save Window data", "Сохранить окно в файл"},
        {Bar::Top, 1020, "Set KORVEL frequency", "Задать рабочую частоту"},
        {Bar::Top, 1011, "Start/Stop", "Старт/Стоп"},
        {Bar::Top, 1007, "Select Int/Ext Start", "Внутр/Внешний старт"},
        {Bar::Top, 1010, "Set Accumulator", "Задать число накоплений"},
        {Bar::Top, 1021, "Set Accumulator", "Задать число накоплений"},
        {Bar::Top, 1013, "On/Off oscillograph mode", "Вкл/выкл непрерывный режим"},
        {Bar::Top, 1032, "Set oscillograph mode frequency", "Частота непрерывного режима"},
        {Bar::Top, 1051, "Show spectrum", "Показать спектр"},
        {Bar::Bottom, 1000, "Set SubWindow start", "Начало окна"},
        {Bar::Bottom, 1006, "Set SubWindow length", "Ширина окна"},
        {Bar::Bottom, 1008, "Save graph to clipboard", "Запомнить осциллограмму в буфере обмена"},
        {Bar::Bottom, 1038, "Set Average Window for display", "Установить ширину окна усреднения"},
        {Bar::Bottom, 1009, "Set Average Window for display", "Установить ширину окна усреднения"},
        {Bar::Bottom, 1022, "Set Average Window for display", "Установить ширину окна усреднения"},
        {Bar::Bottom, 1043, "Set level of zero", "Запомнить уровень нуля"},
        {Bar::Bottom, 1012, "Change cursor follow mode", "Сменить моду перекрестия"},
    };
    for (const Row& row : rows) {
        OscState.Russian = 0;
        EXPECT_STREQ(TipText(row.bar, row.id), row.english) << row.id;
        OscState.Russian = 1;
        EXPECT_STREQ(TipText(row.bar, row.id), row.russian) << row.id;
    }
    // Static texts without a row of their own: the "us" units and "Hz".
    EXPECT_EQ(TipText(Bar::Bottom, bottom::MinUnit), nullptr);
    EXPECT_EQ(TipText(Bar::Bottom, bottom::WidthUnit), nullptr);
    EXPECT_EQ(TipText(Bar::Top, top::Progress), nullptr);
}

}  // namespace
}  // namespace korvel
