#include "ports/ui/QtControls.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSlider>
#include <algorithm>
#include <cstring>

#include "ports/ui/Bitmaps.h"

namespace korvel::ui {

int32_t CopyUtf8(const QString& text, char* buffer, size_t size) {
    if (size == 0) return 0;
    size_t used = 0;
    const qsizetype length = text.size();
    for (qsizetype i = 0; i < length; ++i) {
        char32_t code = text[i].unicode();
        if (QChar::isHighSurrogate(code) && i + 1 < length && text[i + 1].isLowSurrogate()) {
            code = QChar::surrogateToUcs4(static_cast<char16_t>(code), text[i + 1].unicode());
            ++i;
        }
        char bytes[4];
        size_t count = 0;
        if (code < 0x80) {
            bytes[count++] = static_cast<char>(code);
        } else if (code < 0x800) {
            bytes[count++] = static_cast<char>(0xC0 | (code >> 6));
            bytes[count++] = static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            bytes[count++] = static_cast<char>(0xE0 | (code >> 12));
            bytes[count++] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            bytes[count++] = static_cast<char>(0x80 | (code & 0x3F));
        } else {
            bytes[count++] = static_cast<char>(0xF0 | (code >> 18));
            bytes[count++] = static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            bytes[count++] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            bytes[count++] = static_cast<char>(0x80 | (code & 0x3F));
        }
        if (used + count > size - 1) break;
        std::memcpy(buffer + used, bytes, count);
        used += count;
    }
    buffer[used] = '\0';
    return static_cast<int32_t>(used);
}

void QtControls::Add(int32_t id, QWidget* widget) {
    widgets_.emplace_back(id, widget);
    if (owner_.isNull()) owner_ = widget->parentWidget();
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        QObject::connect(edit, &QLineEdit::textChanged, edit,
                         [this, id](const QString&) { RaiseTextChanged(id); });
    }
}

QWidget* QtControls::Widget(int32_t id) const {
    for (const auto& [key, widget] : widgets_) {
        if (key == id) return widget.data();
    }
    return nullptr;
}

template <typename T>
T* QtControls::As(int32_t id) const {
    return qobject_cast<T*>(Widget(id));
}

void QtControls::RaiseTextChanged(int32_t id) const {
    if (textChanged_ != nullptr) textChanged_(id);
}

int32_t QtControls::GetText(int32_t id, char* text, size_t size) const {
    QWidget* widget = Widget(id);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) return CopyUtf8(edit->text(), text, size);
    if (auto* label = qobject_cast<QLabel*>(widget)) return CopyUtf8(label->text(), text, size);
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return CopyUtf8(button->text(), text, size);
    if (auto* list = qobject_cast<QComboBox*>(widget))
        return CopyUtf8(list->currentText(), text, size);
    return CopyUtf8(QString(), text, size);
}

void QtControls::SetText(int32_t id, const char* text) {
    const QString value = QString::fromUtf8(text);
    QWidget* widget = Widget(id);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        // A field reports every write, even of the text it already shows.
        if (edit->text() == value) {
            RaiseTextChanged(id);
        } else {
            edit->setText(value);
        }
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(value);
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(value);
    }
}

bool QtControls::IsChecked(int32_t id) const {
    const auto* button = As<QAbstractButton>(id);
    return button != nullptr && button->isChecked();
}

void QtControls::SetChecked(int32_t id, bool checked) {
    if (auto* button = As<QAbstractButton>(id)) button->setChecked(checked);
}

void QtControls::Show(int32_t id, bool visible) {
    if (QWidget* widget = Widget(id)) widget->setVisible(visible);
}

void QtControls::Enable(int32_t id, bool enabled) {
    if (QWidget* widget = Widget(id)) widget->setEnabled(enabled);
}

void QtControls::SetFace(int32_t id, Face face) {
    if (auto* button = As<QAbstractButton>(id)) button->setIcon(FaceIcon(face));
}

void QtControls::SetProgressRange(int32_t id, int32_t lo, int32_t hi) {
    if (auto* bar = As<QProgressBar>(id)) bar->setRange(lo, hi);
}

void QtControls::SetProgressPos(int32_t id, int32_t pos) {
    if (auto* bar = As<QProgressBar>(id)) bar->setValue(pos);
}

void QtControls::ClearList(int32_t id) {
    if (auto* list = As<QComboBox>(id)) list->clear();
}

void QtControls::AddListItem(int32_t id, const char* text) {
    if (auto* list = As<QComboBox>(id)) list->addItem(QString::fromUtf8(text));
}

void QtControls::SelectListItem(int32_t id, int32_t index) {
    if (auto* list = As<QComboBox>(id)) list->setCurrentIndex(index);
}

int32_t QtControls::SelectedListItem(int32_t id) const {
    const auto* list = As<QComboBox>(id);
    return list != nullptr ? list->currentIndex() : -1;
}

void QtControls::SetSliderRange(int32_t id, int32_t lo, int32_t hi) {
    if (auto* slider = As<QSlider>(id)) slider->setRange(lo, hi);
}

void QtControls::SetSliderPos(int32_t id, int32_t pos) {
    if (auto* slider = As<QSlider>(id)) slider->setValue(pos);
}

int32_t QtControls::SliderPos(int32_t id) const {
    const auto* slider = As<QSlider>(id);
    return slider != nullptr ? slider->value() : 0;
}

// Qt's sliders draw evenly spaced ticks only; the bar shows them at the
// interval of the first two.
void QtControls::ClearSliderTicks(int32_t id) {
    if (auto* slider = As<QSlider>(id)) slider->setTickPosition(QSlider::NoTicks);
}

void QtControls::AddSliderTick(int32_t id, int32_t pos) {
    auto* slider = As<QSlider>(id);
    if (slider == nullptr) return;
    if (slider->tickPosition() == QSlider::NoTicks) {
        slider->setTickPosition(QSlider::TicksBelow);
        slider->setProperty("firstTick", pos);
        slider->setTickInterval(0);
        return;
    }
    const int interval = std::abs(pos - slider->property("firstTick").toInt());
    if (slider->tickInterval() == 0 && interval > 0) slider->setTickInterval(interval);
}

void QtControls::Repaint() {
    if (!owner_.isNull()) owner_->repaint();
}

}  // namespace korvel::ui
