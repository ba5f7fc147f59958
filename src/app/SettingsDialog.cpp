#include "app/SettingsDialog.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/ControlBarSetup.h"
#include "app/MainCommands.h"
#include "display/PlotStyle.h"
#include "files/ConfigFile.h"
#include "model/Conversions.h"
#include "model/FieldNumbers.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "model/Parameters.h"
#include "model/SettingsBounds.h"
#include "numeric/Ticks.h"
#include "ports/ControlIds.h"

namespace korvel {

namespace {

using namespace settings;

constexpr size_t FieldChars = 128;

// The pre-history is kept in 1/255 steps of the available record time.
constexpr double PrehistoryStep = 0.003921569;

struct Field {
    char text[FieldChars];
};

Field Format(const char* format, double value) {
    Field field;
    std::snprintf(field.text, sizeof field.text, format, value);
    return field;
}

Field FormatInt(const char* format, int32_t value) {
    Field field;
    std::snprintf(field.text, sizeof field.text, format, value);
    return field;
}

// "%g" into a float; a text that gives no finite float does not convert.
bool ReadFloat(const char* text, float& value) {
    float read = 0.0f;
    if (std::sscanf(text, "%g", &read) != 1 || !std::isfinite(read)) return false;
    value = read;
    return true;
}

// trunc(value), held within lo..hi.
int32_t BoundedTrunc(double value, int32_t lo, int32_t hi) {
    return static_cast<int32_t>(
        std::clamp(std::trunc(value), static_cast<double>(lo), static_cast<double>(hi)));
}

// The time span of the whole available record, us.
double AvailableTime() {
    return IndexToTime(OscState.LoadedLength);
}

Field PrehistoryTime() {
    return Format("%g", OscSettings.Prehistory * AvailableTime() * PrehistoryStep);
}

Field LengthTime() {
    return Format("%g", OscSettings.Num_Data * AvailableTime() / OscState.LoadedLength);
}

// Counts of labels and digits: only a positive count is taken; one beyond
// what any screen shows is held at the program's limit.
void TakeCount(const Controls& controls, int32_t id, int32_t limit, int32_t& field) {
    int32_t value = 0;
    if (ReadFieldCount(controls, id, value)) field = std::min(value, limit);
}

}  // namespace

class SettingsDialog::OwnWrites {
  public:
    explicit OwnWrites(SettingsDialog& dialog) : dialog_(dialog) { ++dialog_.ownWrites_; }
    ~OwnWrites() { --dialog_.ownWrites_; }
    OwnWrites(const OwnWrites&) = delete;
    OwnWrites& operator=(const OwnWrites&) = delete;

  private:
    SettingsDialog& dialog_;
};

void SettingsDialog::SetText(int32_t id, const char* text) {
    OwnWrites own(*this);
    controls_.SetText(id, text);
}

void SettingsDialog::SetSliderPos(int32_t id, int32_t pos) {
    OwnWrites own(*this);
    controls_.SetSliderPos(id, pos);
}

void SettingsDialog::Initialise() {
    OwnWrites own(*this);
    const OscSettingsRecord& s = OscSettings;
    if (OscState.DeviceVersion == 255) {
        controls_.SetText(Title, Text(TextId::SettingsTitle));
    } else {
        controls_.SetText(
            Title, FormatInt(Text(TextId::SettingsTitleFormat), OscState.DeviceVersion).text);
    }
    if (OscState.Russian == 1) {
        for (const SettingsControlText& entry : SettingsControlTexts)
            controls_.SetText(entry.id, Text(entry.text));
    }

    controls_.SetChecked(settings::AutoNorm, s.AutoNorm == 1);
    controls_.SetText(Min, Format("%g", s.D_min).text);
    controls_.SetText(Max, Format("%g", s.D_max).text);
    controls_.SetChecked(settings::Bipolar, s.Bipolar == 1);
    controls_.SetChecked(settings::Invert, s.Invert == 1);
    controls_.SetText(BaseAddress, FormatInt("%x", s.BaseAddr).text);
    controls_.SetText(BaseFrequency, Format("%g", s.BaseFreq).text);
    for (int32_t k = 0; k < 4; ++k)
        controls_.SetText(Dividers[k], FormatInt("%d", s.FreqDiv[k]).text);
    controls_.SetText(settings::Amplitude, Format("%g", s.Amplitude).text);
    controls_.SetText(settings::ZeroLevel, Format("%g", s.ZeroLevel).text);
    controls_.SetText(LabelsX, FormatInt("%d", s.Labels_X).text);
    controls_.SetText(LabelsY, FormatInt("%d", s.Labels_Y).text);
    controls_.SetChecked(settings::Grid, s.Grid == 1);
    controls_.SetText(TDigits, FormatInt("%d", s.T_Acc).text);
    controls_.SetText(VDigits, FormatInt("%d", s.V_Acc).text);
    controls_.SetChecked(settings::Sound, s.Sound == 1);
    controls_.SetChecked(settings::AutoConf, s.AutoConf == 1);

    AutoNormClicked();
    SetUpSliders();
    ShowFrequencyMarks();

    for (const int32_t list : {LabelFontList, MessageFontList}) {
        controls_.ClearList(list);
        for (const int32_t height : FontSizes)
            controls_.AddListItem(list, FormatInt("%d", height).text);
    }
    controls_.SelectListItem(LabelFontList, s.LFontSize);
    controls_.SelectListItem(MessageFontList, s.MFontSize);
}

void SettingsDialog::AutoNormClicked() {
    const bool free = !controls_.IsChecked(settings::AutoNorm);
    controls_.Enable(Min, free);
    controls_.Enable(Max, free);
}

void SettingsDialog::ShowFrequencyMarks() {
    for (int32_t k = 0; k < 4; ++k) {
        controls_.SetFace(FrequencyButtons[k], k == OscSettings.Korv_Freq ? Face::FrequencyChosen
                                                                          : Face::FrequencyOther);
    }
}

void SettingsDialog::ShowPrehistoryTime() {
    SetText(PrehistoryEdit, PrehistoryTime().text);
}

void SettingsDialog::ShowLengthTime() {
    SetText(LengthEdit, LengthTime().text);
}

void SettingsDialog::SetUpSliders() {
    OwnWrites own(*this);
    const double total = AvailableTime();
    const int32_t loaded = OscState.LoadedLength;
    const TickSet ticks = TickRange(0.0f, static_cast<float>(total), 10);
    const int32_t n = ticks.count;
    const float lo = ticks.low;
    const float hi = ticks.high;

    controls_.SetSliderRange(PrehistorySlider, 0, 255);
    controls_.ClearSliderTicks(PrehistorySlider);
    for (int32_t i = 0; n > 0 && i <= n; ++i) {
        const double tick = TickValue(lo, hi, i, n) * 255.0 / total;
        if (tick >= 1.0 && tick < 255.0) {
            controls_.AddSliderTick(PrehistorySlider, static_cast<int32_t>(tick));
        }
    }
    controls_.SetSliderPos(PrehistorySlider, OscSettings.Prehistory);
    ShowPrehistoryTime();

    controls_.SetSliderRange(LengthSlider, 1, loaded);
    controls_.ClearSliderTicks(LengthSlider);
    for (int32_t i = 0; n > 0 && i <= n; ++i) {
        const double tick = TickValue(lo, hi, i, n) * (loaded - 1) / total;
        controls_.AddSliderTick(LengthSlider, BoundedTrunc(tick, 0, loaded - 1));
    }
    controls_.SetSliderPos(LengthSlider, std::clamp(OscSettings.Num_Data, 1, loaded));
    ShowLengthTime();
}

void SettingsDialog::SliderMoved(int32_t id) {
    if (ownWrites_ > 0) return;
    if (id == PrehistorySlider) {
        OscSettings.Prehistory = std::clamp(controls_.SliderPos(id), 0, 255);
        ShowPrehistoryTime();
    } else if (id == LengthSlider) {
        OscSettings.Num_Data = std::clamp(controls_.SliderPos(id), 1, OscState.LoadedLength);
        ShowLengthTime();
    }
}

bool SettingsDialog::ChangedNumber(int32_t id, const char* shown, double& value) const {
    char text[FieldChars];
    controls_.GetText(id, text, sizeof text);
    if (std::strcmp(text, shown) == 0) return false;
    float read = 0.0f;
    if (!ReadFloat(text, read)) return false;
    value = read;
    return true;
}

bool SettingsDialog::ChangedFloat(int32_t id, float current, float& value) const {
    double read = 0.0;
    if (!ChangedNumber(id, Format("%g", current).text, read)) return false;
    value = static_cast<float>(read);
    return true;
}

void SettingsDialog::TextChanged(int32_t id) {
    if (ownWrites_ > 0) return;
    double value = 0.0;
    if (id == PrehistoryEdit) {
        if (!ChangedNumber(id, PrehistoryTime().text, value)) return;
        const int32_t pos = BoundedTrunc(value * 255.0 / AvailableTime(), 0, 255);
        SetSliderPos(PrehistorySlider, pos);
        OscSettings.Prehistory = pos;
    } else if (id == LengthEdit) {
        if (!ChangedNumber(id, LengthTime().text, value)) return;
        const int32_t loaded = OscState.LoadedLength;
        const int32_t pos = BoundedTrunc(loaded * value / AvailableTime(), 1, loaded);
        SetSliderPos(LengthSlider, pos);
        OscSettings.Num_Data = pos;
    } else if (id == BaseFrequency ||
               std::find(std::begin(Dividers), std::end(Dividers), id) != std::end(Dividers)) {
        TakeClockAndDividers();
        SetUpSliders();
    }
}

void SettingsDialog::FrequencyClicked(int32_t k) {
    if (k < 0 || k > 3) return;
    SetParam(ParamKorvFreq, k);
    ShowFrequencyMarks();
    // The main window's list shows the choice, and its handling puts the
    // sub-window's fields on the new time scale.
    Ports.topBar->SelectListItem(top::FrequencyList, k);
    FrequencySelected();
    RebuildFrequencyList();
    SetUpSliders();
}

// The clock first, then the dividers on it. SetParam refuses a clock or a
// divider that gives no usable sampling period (and a field that holds no
// number offers it 0): the old value stands.
void SettingsDialog::TakeClockAndDividers() {
    float clock = 0.0f;
    if (ChangedFloat(BaseFrequency, OscSettings.BaseFreq, clock)) SetParam(ParamBaseFreq, clock);
    int32_t dividers[4] = {};
    for (int32_t k = 0; k < 4; ++k) {
        char text[FieldChars];
        controls_.GetText(Dividers[k], text, sizeof text);
        ScanInt(text, dividers[k]);
    }
    SetParam(ParamFreqDividers, dividers);
}

void SettingsDialog::TakeBaseAddress() {
    char text[FieldChars];
    controls_.GetText(BaseAddress, text, sizeof text);
    if (text[0] == '\0') return;
    // The field took any character; a Cyrillic one typed for a look-alike
    // Latin letter is reduced to seven bits, as the card's old tools did.
    for (char& c : text)
        c = static_cast<char>(static_cast<unsigned char>(c) & 0x7F);
    const char* p = text;
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\f' || *p == '\v')
        ++p;
    // A minus sign or more than 32 bits never name a card's address.
    if (*p == '-') return;
    char* end = nullptr;
    errno = 0;
    const unsigned long long value = std::strtoull(p, &end, 16);
    if (end == p || errno == ERANGE) return;
    if (value >= 0x300 && value <= 0x3FF)
        SetParam(ParamBaseAddr, static_cast<double>(value & ~3ull));
}

void SettingsDialog::TakeFields() {
    OscSettingsRecord& s = OscSettings;
    float value = 0.0f;

    TakeBaseAddress();

    SetParam(ParamAutoNorm, controls_.IsChecked(settings::AutoNorm) ? 1 : 0);
    if (s.AutoNorm == 0) {
        if (ChangedFloat(Min, s.D_min, value)) SetParam(ParamDMin, value);
        if (ChangedFloat(Max, s.D_max, value)) SetParam(ParamDMax, value);
    }

    SetParam(ParamBipolar, controls_.IsChecked(settings::Bipolar) ? 1 : 0);
    SetParam(ParamInvert, controls_.IsChecked(settings::Invert) ? 1 : 0);
    SetParam(ParamAutoConf, controls_.IsChecked(settings::AutoConf) ? 1 : 0);
    s.Sound = controls_.IsChecked(settings::Sound) ? 1 : 0;
    s.Grid = controls_.IsChecked(settings::Grid) ? 1 : 0;

    TakeClockAndDividers();

    if (ChangedFloat(settings::Amplitude, s.Amplitude, value)) SetParam(ParamAmplitude, value);
    if (ChangedFloat(settings::ZeroLevel, s.ZeroLevel, value)) SetParam(ParamZeroLevel, value);
    TakeCount(controls_, LabelsX, MaxLabels, s.Labels_X);
    TakeCount(controls_, LabelsY, MaxLabels, s.Labels_Y);

    double prehistoryUs = 0.0;
    if (ChangedNumber(PrehistoryEdit, PrehistoryTime().text, prehistoryUs)) {
        s.Prehistory = BoundedTrunc(prehistoryUs * 255.0 / AvailableTime(), 0, 255);
    }

    RebuildFrequencyList();

    const int32_t labelFont = controls_.SelectedListItem(LabelFontList);
    if (labelFont >= 0 && labelFont < FontSizeTableLength) SetParam(ParamLFontSize, labelFont);
    const int32_t messageFont = controls_.SelectedListItem(MessageFontList);
    if (messageFont >= 0 && messageFont < FontSizeTableLength) {
        SetParam(ParamMFontSize, messageFont);
    }
    int32_t digits = s.V_Acc;
    TakeCount(controls_, VDigits, MaxDigits, digits);
    SetParam(ParamVAcc, digits);
    digits = s.T_Acc;
    TakeCount(controls_, TDigits, MaxDigits, digits);
    SetParam(ParamTAcc, digits);
}

void SettingsDialog::SaveSettingsClicked() {
    TakeFields();
    SaveSettingsCommand();
}

}  // namespace korvel
