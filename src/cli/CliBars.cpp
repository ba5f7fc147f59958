#include "cli/CliBars.h"

#include <cstdio>
#include <cstring>

#include "app/MainCommands.h"
#include "spectrum/SpectrumWindow.h"

namespace korvel::cli {

int32_t CliBar::GetText(int32_t id, char* text, size_t size) const {
    if (size == 0) return 0;
    const std::string& held = controls_[id].text;
    const size_t n = std::min(held.size(), size - 1);
    std::memcpy(text, held.data(), n);
    text[n] = '\0';
    return static_cast<int32_t>(n);
}

void CliBar::SetText(int32_t id, const char* text) {
    controls_[id].text = text;
    if (onTextChanged_ != nullptr) onTextChanged_(id);
}

bool CliBar::IsChecked(int32_t id) const {
    return controls_[id].checked;
}

int32_t CliBar::SelectedListItem(int32_t id) const {
    return controls_[id].selected;
}

void CliDialogs::Message(const char* text, const char* caption) {
    ++messages;
    last = text;
    if (hold) return;
    if (caption != nullptr && caption[0] != '\0') {
        std::fprintf(stderr, "korvel-cli: %s: %s\n", caption, text);
    } else {
        std::fprintf(stderr, "korvel-cli: %s\n", text);
    }
}

namespace {

bool Answer(const CliDialogs& dialogs, FileDialogRequest& request, char* path, size_t size) {
    if (dialogs.answer.empty() || dialogs.answer.size() >= size) return false;
    std::memcpy(path, dialogs.answer.c_str(), dialogs.answer.size() + 1);
    if (dialogs.filter > 0) request.selectedFilter = dialogs.filter;
    return true;
}

}  // namespace

bool CliDialogs::OpenFileName(FileDialogRequest& request, char* path, size_t size) {
    return Answer(*this, request, path, size);
}

bool CliDialogs::SaveFileName(FileDialogRequest& request, char* path, size_t size) {
    return Answer(*this, request, path, size);
}

CliBar& TopBar() {
    static CliBar bar(&TopBarTextChanged);
    return bar;
}

CliBar& BottomBar() {
    static CliBar bar(&BottomBarTextChanged);
    return bar;
}

CliBar& SpectrumTopBar() {
    static CliBar bar(nullptr);
    return bar;
}

CliBar& SpectrumBottomBar() {
    static CliBar bar(&SpectrumFieldChanged);
    return bar;
}

CliDialogs& Answers() {
    static CliDialogs dialogs;
    return dialogs;
}

void InstallCliPorts() {
    Ports.topBar = &TopBar();
    Ports.bottomBar = &BottomBar();
    Ports.spectrumTopBar = &SpectrumTopBar();
    Ports.spectrumBottomBar = &SpectrumBottomBar();
    Ports.dialogs = &Answers();
    Ports.instrument = &Instruments();
    Ports.exchange = &Exchanges();
}

}  // namespace korvel::cli
