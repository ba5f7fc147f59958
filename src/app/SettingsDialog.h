// The logic of the Settings dialog, on its controls reached by the ids of the
// dialog's template. The ui builds the widgets and calls these handlers; the
// dialog keeps no state of its own beyond its controls.
//
// The base clock, the dividers, the frequency buttons, the pre-history and
// the record length act at once, while the dialog is open, since the two
// sliders are scaled in microseconds and follow them; everything else is
// taken when OK or "Save Settings" is pressed.
//
// The dialog's own writes into its edits and sliders are not fed back into
// its change handlers: only what the user does changes a setting. Each such
// write shows a setting through a six-digit "%g" or a truncating time scale,
// and reading it back would move the setting (a pre-history of 100 would come
// back as 99, a record of 65534 samples as 65532); so opening the dialog and
// leaving it, by OK or by Cancel, leaves Num_Data and Prehistory as they were.
// For the same reason a number edit whose text is still the one the dialog
// showed for its setting is not read again on OK: the setting keeps its exact
// value, which the six digits may not carry.
#pragma once

#include <cstddef>
#include <cstdint>

#include "model/Texts.h"
#include "ports/Ports.h"

namespace korvel {

// Control ids of the dialog's template.
namespace settings {
// Not a control: the dialog itself, whose text is its title.
inline constexpr int32_t Title = 0;
inline constexpr int32_t Ok = 1;
inline constexpr int32_t Cancel = 2;
inline constexpr int32_t AutoNorm = 1007;
inline constexpr int32_t MinLabel = 1026;
inline constexpr int32_t Min = 1009;
inline constexpr int32_t MaxLabel = 1027;
inline constexpr int32_t Max = 1010;
inline constexpr int32_t Bipolar = 1012;
inline constexpr int32_t Invert = 1013;
inline constexpr int32_t BaseAddressLabel = 1038;
inline constexpr int32_t BaseAddress = 1000;
inline constexpr int32_t BaseFrequencyLabel = 1039;
inline constexpr int32_t BaseFrequency = 1006;
inline constexpr int32_t Dividers[4] = {1032, 1033, 1034, 1035};
inline constexpr int32_t FrequencyButtons[4] = {1011, 1014, 1015, 1016};
inline constexpr int32_t AmplitudeLabel = 1040;
inline constexpr int32_t Amplitude = 1041;
inline constexpr int32_t ZeroLevelLabel = 1052;
inline constexpr int32_t ZeroLevel = 1042;
inline constexpr int32_t LabelsXLabel = 1053;
inline constexpr int32_t LabelsX = 1044;
inline constexpr int32_t LabelsY = 1045;
inline constexpr int32_t Grid = 1046;
inline constexpr int32_t PrehistoryLabel = 1054;
inline constexpr int32_t PrehistorySlider = 1047;
inline constexpr int32_t PrehistoryEdit = 1048;
inline constexpr int32_t LengthLabel = 1055;
inline constexpr int32_t LengthSlider = 1049;
inline constexpr int32_t LengthEdit = 1050;
inline constexpr int32_t LabelFontLabel = 1056;
inline constexpr int32_t LabelFontList = 1020;
inline constexpr int32_t MessageFontLabel = 1057;
inline constexpr int32_t MessageFontList = 1021;
inline constexpr int32_t TDigitsLabel = 1060;
inline constexpr int32_t TDigits = 1061;
inline constexpr int32_t VDigitsLabel = 1059;
inline constexpr int32_t VDigits = 1058;
inline constexpr int32_t Sound = 1037;
inline constexpr int32_t AutoConf = 1031;
inline constexpr int32_t SaveSettings = 1030;
}  // namespace settings

// The texts of the dialog's controls that have one: the template shows the
// English ones, and the Russian interface puts the Russian ones in their place.
struct SettingsControlText {
    int32_t id;
    TextId text;
};
inline constexpr SettingsControlText SettingsControlTexts[] = {
    {settings::AutoNorm, TextId::SettingsAutoNorm},
    {settings::MinLabel, TextId::SettingsMin},
    {settings::MaxLabel, TextId::SettingsMax},
    {settings::Bipolar, TextId::SettingsBipolar},
    {settings::Invert, TextId::SettingsInvert},
    {settings::BaseAddressLabel, TextId::SettingsBaseAddress},
    {settings::BaseFrequencyLabel, TextId::SettingsBaseFrequency},
    {settings::AmplitudeLabel, TextId::SettingsAmplitude},
    {settings::ZeroLevelLabel, TextId::SettingsZeroLevel},
    {settings::LabelsXLabel, TextId::SettingsLabelsX},
    {settings::Grid, TextId::SettingsGrid},
    {settings::PrehistoryLabel, TextId::SettingsPrehistory},
    {settings::LengthLabel, TextId::SettingsWindowLength},
    {settings::LabelFontLabel, TextId::SettingsLabelFont},
    {settings::MessageFontLabel, TextId::SettingsMessageFont},
    {settings::TDigitsLabel, TextId::SettingsTDigits},
    {settings::VDigitsLabel, TextId::SettingsVDigits},
    {settings::Sound, TextId::SettingsSound},
    {settings::AutoConf, TextId::SettingsAutoConf},
    {settings::SaveSettings, TextId::SettingsSave},
    {settings::Cancel, TextId::SettingsCancel},
};

class SettingsDialog {
  public:
    explicit SettingsDialog(Controls& controls) : controls_(controls) {}

    // Title, texts, fields, sliders, frequency marks and font lists.
    void Initialise();

    // Auto Norm (1007) clicked: Min and Max are usable only while it is clear.
    void AutoNormClicked();

    // The user moved slider 1047 or 1049 (its new position is on the slider).
    void SliderMoved(int32_t id);

    // The text of an edit changed: 1048, 1050, and 1006 with 1032..1035 act
    // at once; the others wait for OK.
    void TextChanged(int32_t id);

    // Frequency button k (0..3) clicked.
    void FrequencyClicked(int32_t k);

    // OK, after the dialog has closed: takes every field.
    void Ok() { TakeFields(); }

    // "Save Settings": takes every field, then writes korvel.ini; a failed
    // write is told in a message. The dialog stays open.
    void SaveSettingsClicked();

  private:
    // The ids of the slider set-up's and the fields' own writes, raised back
    // by the controls while this is above 0, are ignored.
    class OwnWrites;

    void SetUpSliders();
    void ShowFrequencyMarks();
    void ShowPrehistoryTime();
    void ShowLengthTime();
    void TakeFields();
    void TakeBaseAddress();
    void TakeClockAndDividers();
    // Reads edit id as a finite "%g" number that is not the text shown for
    // the setting whose shown text is `shown`.
    bool ChangedNumber(int32_t id, const char* shown, double& value) const;
    bool ChangedFloat(int32_t id, float current, float& value) const;
    void SetText(int32_t id, const char* text);
    void SetSliderPos(int32_t id, int32_t pos);

    Controls& controls_;
    int32_t ownWrites_ = 0;
};

}  // namespace korvel
