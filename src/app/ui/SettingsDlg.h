// The Settings dialog on Qt widgets: every control of the template, in its
// order, reachable by its id; the handlers only pass the user's actions to
// the dialog's logic (files/SettingsDialog.h).
#pragma once

#include <QDialog>
#include <cstdint>
#include <memory>

namespace korvel {
class SettingsDialog;
}  // namespace korvel

namespace korvel::ui {

class QtControls;

class CSettingsDlg : public QDialog {
    Q_OBJECT
  public:
    // Builds the controls and runs the dialog's initialisation.
    explicit CSettingsDlg(QWidget* parent = nullptr);
    ~CSettingsDlg() override;

    // A control by its template id (its object name is the id).
    QWidget* Control(int32_t id) const;
    template <typename T>
    T* Control(int32_t id) const {
        return qobject_cast<T*>(Control(id));
    }

  private:
    void Build();

    std::unique_ptr<QtControls> controls_;
    std::unique_ptr<SettingsDialog> logic_;
};

}  // namespace korvel::ui
