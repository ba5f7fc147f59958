#include "app/ui/SettingsDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/SettingsDialog.h"
#include "app/ui/TickSlider.h"
#include "ports/ui/Bitmaps.h"
#include "ports/ui/ControlBar.h"
#include "ports/ui/QtControls.h"

namespace korvel::ui {

namespace {

using namespace settings;

// The dialog's controls: the dialog itself stands for id 0 (its title), and
// the two sliders mark their ticks where the logic puts them.
class SettingsControls : public QtControls {
  public:
    explicit SettingsControls(QDialog* dialog) : dialog_(dialog) { SetOwner(dialog); }

    void SetText(int32_t id, const char* text) override {
        if (id == Title) {
            dialog_->setWindowTitle(QString::fromUtf8(text));
        } else {
            QtControls::SetText(id, text);
        }
    }
    int32_t GetText(int32_t id, char* text, size_t size) const override {
        if (id == Title) return CopyUtf8(dialog_->windowTitle(), text, size);
        return QtControls::GetText(id, text, size);
    }
    void ClearSliderTicks(int32_t id) override {
        if (auto* slider = qobject_cast<TickSlider*>(Widget(id))) slider->ClearTicks();
    }
    void AddSliderTick(int32_t id, int32_t pos) override {
        if (auto* slider = qobject_cast<TickSlider*>(Widget(id))) slider->AddTick(pos);
    }

  private:
    QDialog* dialog_;
};

// The template's English text of a control that has one.
QString TemplateText(TextId id) {
    return QString::fromUtf8(TextIn(id, 0));
}

}  // namespace

CSettingsDlg::CSettingsDlg(QWidget* parent)
    : QDialog(parent),
      controls_(std::make_unique<SettingsControls>(this)),
      logic_(std::make_unique<SettingsDialog>(*controls_)) {
    setObjectName("settings");
    // A title bar and no system menu: Cancel or Escape leave the dialog.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFont(BarFont());
    Build();
    logic_->Initialise();
}

CSettingsDlg::~CSettingsDlg() = default;

QWidget* CSettingsDlg::Control(int32_t id) const {
    return controls_->Widget(id);
}

void CSettingsDlg::Build() {
    // 269 x 254 dialog units; controls in the order of the template, which
    // is also the order the Tab key takes.
    auto* body = new ControlBar(269, 254, this);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(body);
    QtControls& controls = *controls_;

    auto add = [&](int32_t id, QWidget* widget, int x, int y, int cx, int cy) {
        widget->setObjectName(QString::number(id));
        body->Place(widget, x, y, cx, cy);
        controls.Add(id, widget);
        return widget;
    };
    auto label = [&](int32_t id, TextId text, int x, int y, int cx) {
        auto* widget = new QLabel(TemplateText(text), body);
        if (id >= 0) {
            add(id, widget, x, y, cx, 8);
        } else {
            body->Place(widget, x, y, cx, 8);
        }
    };
    auto edit = [&](int32_t id, int x, int y, int cx) {
        auto* field = new QLineEdit(body);
        add(id, field, x, y, cx, 12);
        connect(field, &QLineEdit::textChanged, this, [this, id] { logic_->TextChanged(id); });
    };
    auto check = [&](int32_t id, TextId text, int x, int y, int cx) {
        return static_cast<QCheckBox*>(
            add(id, new QCheckBox(TemplateText(text), body), x, y, cx, 10));
    };
    auto slider = [&](int32_t id, int x, int y) {
        auto* widget = new TickSlider(body);
        add(id, widget, x, y, 118, 16);
        connect(widget, &QSlider::valueChanged, this, [this, id] { logic_->SliderMoved(id); });
    };
    auto fontList = [&](int32_t id, int x, int y) {
        auto* list = new QComboBox(body);
        // All eleven sizes open at once, as the list's 154 pixels showed them.
        list->setMaxVisibleItems(11);
        add(id, list, x, y, 34, 0);
    };

    QCheckBox* autoNorm = check(AutoNorm, TextId::SettingsAutoNorm, 7, 8, 58);
    connect(autoNorm, &QCheckBox::clicked, this, [this] { logic_->AutoNormClicked(); });
    label(MinLabel, TextId::SettingsMin, 70, 9, 20);
    edit(Min, 92, 7, 50);
    label(MaxLabel, TextId::SettingsMax, 150, 9, 22);
    edit(Max, 174, 7, 50);
    check(Bipolar, TextId::SettingsBipolar, 7, 25, 70);
    check(Invert, TextId::SettingsInvert, 92, 25, 80);

    label(BaseAddressLabel, TextId::SettingsBaseAddress, 7, 42, 62);
    edit(BaseAddress, 72, 40, 40);
    label(-1, TextId::SettingsHex, 116, 42, 30);
    label(BaseFrequencyLabel, TextId::SettingsBaseFrequency, 7, 58, 62);
    edit(BaseFrequency, 72, 56, 40);
    label(-1, TextId::SettingsMhz, 116, 58, 30);
    label(-1, TextId::SettingsMult, 7, 76, 30);
    for (int32_t k = 0; k < 4; ++k)
        edit(Dividers[k], 40 + k * 30, 74, 24);
    for (int32_t k = 0; k < 4; ++k) {
        auto* button = new QPushButton(body);
        button->setIconSize(QSize(14, 6));
        button->setAutoDefault(false);
        add(FrequencyButtons[k], button, 43 + k * 30, 88, 18, 8);
        connect(button, &QPushButton::clicked, this, [this, k] { logic_->FrequencyClicked(k); });
    }

    label(AmplitudeLabel, TextId::SettingsAmplitude, 7, 104, 62);
    edit(Amplitude, 72, 102, 40);
    label(-1, TextId::SettingsMv, 116, 104, 20);
    label(ZeroLevelLabel, TextId::SettingsZeroLevel, 7, 120, 62);
    edit(ZeroLevel, 72, 118, 40);
    label(-1, TextId::SettingsMv, 116, 120, 20);
    label(LabelsXLabel, TextId::SettingsLabelsX, 7, 136, 62);
    edit(LabelsX, 72, 134, 24);
    label(-1, TextId::SettingsLabelsY, 101, 136, 8);
    edit(LabelsY, 111, 134, 24);
    check(Grid, TextId::SettingsGrid, 150, 135, 60);

    label(PrehistoryLabel, TextId::SettingsPrehistory, 7, 154, 62);
    slider(PrehistorySlider, 72, 150);
    edit(PrehistoryEdit, 194, 152, 50);
    label(-1, TextId::SettingsUs, 248, 154, 14);
    label(LengthLabel, TextId::SettingsWindowLength, 7, 174, 62);
    slider(LengthSlider, 72, 170);
    edit(LengthEdit, 194, 172, 50);
    label(-1, TextId::SettingsUs, 248, 174, 14);

    label(LabelFontLabel, TextId::SettingsLabelFont, 7, 194, 84);
    fontList(LabelFontList, 92, 192);
    label(MessageFontLabel, TextId::SettingsMessageFont, 134, 194, 92);
    fontList(MessageFontList, 228, 192);
    label(TDigitsLabel, TextId::SettingsTDigits, 7, 211, 84);
    edit(TDigits, 92, 209, 24);
    label(VDigitsLabel, TextId::SettingsVDigits, 134, 211, 92);
    edit(VDigits, 228, 209, 24);
    check(Sound, TextId::SettingsSound, 7, 225, 50);
    check(AutoConf, TextId::SettingsAutoConf, 70, 225, 190);

    auto button = [&](int32_t id, TextId text, int x) {
        auto* widget = new QPushButton(TemplateText(text), body);
        add(id, widget, x, 238, 54, 14);
        return widget;
    };
    QPushButton* ok = button(Ok, TextId::SettingsOk, 30);
    ok->setDefault(true);
    QPushButton* save = button(SaveSettings, TextId::SettingsSave, 107);
    save->setAutoDefault(false);
    QPushButton* cancel = button(Cancel, TextId::SettingsCancel, 184);
    cancel->setAutoDefault(false);
    // OK closes first, then the fields are taken, so the settings change
    // only once the dialog is gone.
    connect(ok, &QPushButton::clicked, this, [this] {
        accept();
        logic_->Ok();
    });
    connect(save, &QPushButton::clicked, this, [this] { logic_->SaveSettingsClicked(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    // The English template texts; the logic puts the Russian ones in their place.
    setWindowTitle(TemplateText(TextId::SettingsTitle));
    adjustSize();
}

}  // namespace korvel::ui
