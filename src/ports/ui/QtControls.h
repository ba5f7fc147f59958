// The Controls port on real widgets: a bar's (or a dialog's) widgets by the
// control ids of its template.
#pragma once

#include <QPointer>
#include <QWidget>
#include <utility>
#include <vector>

#include "ports/Ports.h"

class QLineEdit;

namespace korvel::ui {

class QtControls : public Controls {
  public:
    // textChanged: the handler of the bar's fields, called with the field's id
    // whenever a field's text changes, typed or written.
    explicit QtControls(void (*textChanged)(int32_t id) = nullptr) : textChanged_(textChanged) {}

    // Makes a widget reachable by id. An edit field reports its changes.
    void Add(int32_t id, QWidget* widget);
    QWidget* Widget(int32_t id) const;

    int32_t GetText(int32_t id, char* text, size_t size) const override;
    void SetText(int32_t id, const char* text) override;
    bool IsChecked(int32_t id) const override;
    void SetChecked(int32_t id, bool checked) override;
    void Show(int32_t id, bool visible) override;
    void Enable(int32_t id, bool enabled) override;
    void SetFace(int32_t id, Face face) override;
    void SetProgressRange(int32_t id, int32_t lo, int32_t hi) override;
    void SetProgressPos(int32_t id, int32_t pos) override;
    void ClearList(int32_t id) override;
    void AddListItem(int32_t id, const char* text) override;
    void SelectListItem(int32_t id, int32_t index) override;
    int32_t SelectedListItem(int32_t id) const override;
    void SetSliderRange(int32_t id, int32_t lo, int32_t hi) override;
    void SetSliderPos(int32_t id, int32_t pos) override;
    int32_t SliderPos(int32_t id) const override;
    void ClearSliderTicks(int32_t id) override;
    void AddSliderTick(int32_t id, int32_t pos) override;
    void Repaint() override;

    // The widgets' common parent, repainted by Repaint(); by default the
    // parent of the first widget added.
    void SetOwner(QWidget* owner) { owner_ = owner; }

  private:
    void RaiseTextChanged(int32_t id) const;
    template <typename T>
    T* As(int32_t id) const;

    void (*textChanged_)(int32_t id);
    std::vector<std::pair<int32_t, QPointer<QWidget>>> widgets_;
    QPointer<QWidget> owner_;
};

// Copies text as UTF-8 into a caller's buffer of size bytes, whole characters
// only, always terminated; returns the bytes copied. Allocates nothing.
int32_t CopyUtf8(const QString& text, char* buffer, size_t size);

}  // namespace korvel::ui
