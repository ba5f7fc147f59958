// The main window's two control bars as the command-line companion has them:
// fields that hold texts and boxes that hold ticks, no widgets. Writing a
// field raises the main window's handling of that field, as typing into the
// window's field does, so a value given on the command line takes the very
// path the window takes.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "ports/Ports.h"

namespace korvel::cli {

class CliBar : public Controls {
  public:
    using Handler = void (*)(int32_t id);
    explicit CliBar(Handler onTextChanged) : onTextChanged_(onTextChanged) {}

    int32_t GetText(int32_t id, char* text, size_t size) const override;
    void SetText(int32_t id, const char* text) override;
    bool IsChecked(int32_t id) const override;
    void SetChecked(int32_t id, bool checked) override { controls_[id].checked = checked; }
    void ClearList(int32_t id) override { controls_[id].items.clear(); }
    void AddListItem(int32_t id, const char* text) override {
        controls_[id].items.emplace_back(text);
    }
    void SelectListItem(int32_t id, int32_t index) override { controls_[id].selected = index; }
    int32_t SelectedListItem(int32_t id) const override;

  private:
    struct Control {
        std::string text;
        bool checked = false;
        std::vector<std::string> items;
        int32_t selected = -1;
    };
    mutable std::map<int32_t, Control> controls_;
    Handler onTextChanged_;
};

// Messages of the core go to the standard error, unless they are held for the
// command to word them itself; a file dialog answers with the path it was
// given, and Cancel when it has none.
class CliDialogs : public Dialogs {
  public:
    void Message(const char* text, const char* caption) override;
    bool OpenFileName(FileDialogRequest& request, char* path, size_t size) override;
    bool SaveFileName(FileDialogRequest& request, char* path, size_t size) override;

    std::string answer;    // the path the next file dialog gives
    int32_t filter = 0;    // the filter it reports chosen; 0 keeps the dialog's own
    int32_t messages = 0;  // messages shown (or held) so far
    std::string last;      // the last message's text
    bool hold = false;     // keep messages off the standard error
};

// The instruments of this build: libsigrok's, or none.
Instrument& Instruments();
// Other tools' file formats in this build: libsigrok's, or none.
Exchange& Exchanges();

// The bars of both windows and the dialogs, installed as the ports.
CliBar& TopBar();
CliBar& BottomBar();
CliBar& SpectrumTopBar();
CliBar& SpectrumBottomBar();
CliDialogs& Answers();
void InstallCliPorts();

}  // namespace korvel::cli
