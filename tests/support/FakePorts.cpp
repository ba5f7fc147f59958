#include "support/FakePorts.h"

#include <sstream>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace korvel::test {

void FakeControls::Type(int32_t id, const std::string& text) {
    controls_[id].text = text;
    if (onTextChanged) onTextChanged(id);
}

int32_t FakeControls::GetText(int32_t id, char* text, size_t size) const {
    if (size == 0) return 0;
    const std::string& value = controls_[id].text;
    const size_t count = std::min(value.size(), size - 1);
    std::memcpy(text, value.data(), count);
    text[count] = '\0';
    return static_cast<int32_t>(count);
}

void FakeControls::SetText(int32_t id, const char* text) {
    writes.emplace_back(id, text);
    Type(id, text);
}

bool FakeControls::IsChecked(int32_t id) const {
    return controls_[id].checked;
}

void FakeControls::SetProgressRange(int32_t id, int32_t lo, int32_t hi) {
    controls_[id].progressLo = lo;
    controls_[id].progressHi = hi;
}

int32_t FakeControls::SelectedListItem(int32_t id) const {
    return controls_[id].selected;
}

void FakeControls::SetSliderRange(int32_t id, int32_t lo, int32_t hi) {
    controls_[id].sliderLo = lo;
    controls_[id].sliderHi = hi;
}

int32_t FakeControls::SliderPos(int32_t id) const {
    return controls_[id].sliderPos;
}

int32_t FakeTimers::Period(TimerId id) const {
    const auto found = periods_.find(id);
    return found == periods_.end() ? -1 : found->second;
}

void FakeDialogs::Message(const char* text, const char* caption) {
    messages.push_back({text, caption != nullptr ? caption : "(default)"});
}

void FakeDialogs::Notice(const char* line1, const char* line2) {
    notices.emplace_back(line1, line2);
}

namespace {
bool Answer(std::deque<FakeDialogs::FileAnswer>& answers, FileDialogRequest& request, char* path,
            size_t size) {
    if (answers.empty()) return false;
    const FakeDialogs::FileAnswer answer = answers.front();
    answers.pop_front();
    if (answer.path.empty()) return false;
    std::snprintf(path, size, "%s", answer.path.c_str());
    request.selectedFilter = answer.filter;
    return true;
}
}  // namespace

void FakeDialogs::Keep(std::vector<FileDialogRequest>& requests, const FileDialogRequest& request) {
    requests.push_back(request);
    const FileFilter* filters = request.filters;
    filterCopies_.emplace_back(filters, filters + (filters != nullptr ? request.filterCount : 0));
    requests.back().filters = filterCopies_.back().data();
}

bool FakeDialogs::OpenFileName(FileDialogRequest& request, char* path, size_t size) {
    Keep(openRequests, request);
    return Answer(openAnswers, request, path, size);
}

bool FakeDialogs::SaveFileName(FileDialogRequest& request, char* path, size_t size) {
    Keep(saveRequests, request);
    return Answer(saveAnswers, request, path, size);
}

std::string Describe(const FileDialogRequest& r) {
    std::string text = r.title;
    for (int32_t i = 0; i < r.filterCount; ++i)
        text += std::string("|") + r.filters[i].name + " " + r.filters[i].pattern;
    return text + "|" + std::to_string(r.selectedFilter) + "|" + r.defaultExtension + "|" +
           r.initialDirectory + (r.confirmOverwrite ? "|ask" : "|replace");
}

bool FakeClipboard::SetBitmap(const uint32_t* source, int32_t w, int32_t h, int32_t stride,
                              int32_t wMm, int32_t hMm) {
    if (!available) return false;
    pixels.clear();
    for (int32_t y = 0; y < h; ++y)
        pixels.insert(pixels.end(), source + y * stride, source + y * stride + w);
    width = w;
    height = h;
    widthTenthMm = wMm;
    heightTenthMm = hMm;
    ++copies;
    return true;
}

void FakePorts::Install() {
    Ports = PortSet{&timers, &topBar,  &bottomBar, &spectrumTopBar, &spectrumBottomBar,
                    &frame,  &dialogs, &clipboard, &instrument,     &exchange};
}

bool FakeInstrument::Available(std::string& error) {
    if (!available) error = "no libsigrok here";
    return available;
}

std::vector<InstrumentDevice> FakeInstrument::Scan(const std::string&, const std::string&,
                                                   std::string& error) {
    if (!Available(error)) return {};
    return {device};
}

bool FakeInstrument::Open(const InstrumentChoice& choice, InstrumentDevice& out,
                          std::string& error) {
    ++opens;
    opened = choice;
    if (!Available(error)) return false;
    if (!openError.empty()) {
        error = openError;
        return false;
    }
    out = device;
    return true;
}

void FakeInstrument::Close() {
    ++closes;
    running = false;
}

bool FakeInstrument::Start(int32_t count, bool trigger, std::string& error) {
    ++starts;
    lastCount = count;
    lastTrigger = trigger;
    if (!startError.empty()) {
        error = startError;
        return false;
    }
    running = true;
    pollsLeft = pollsPerRecord;
    return true;
}

InstrumentPoll FakeInstrument::Poll(float* out, std::string& error) {
    ++polls;
    if (!running) {
        error = "not started";
        return InstrumentPoll::Failed;
    }
    if (--pollsLeft > 0) return InstrumentPoll::Running;
    running = false;
    if (delivered == failAfterRecords) {
        error = failError.empty() ? "the device has gone" : failError;
        return InstrumentPoll::Failed;
    }
    for (int32_t i = 0; i < lastCount; ++i)
        out[i] = samples[static_cast<size_t>(i) % samples.size()];
    ++delivered;
    return InstrumentPoll::Ready;
}

void FakeInstrument::Cancel() {
    ++cancels;
    running = false;
}

int32_t FakeDialogs::ChooseItem(const char* /*title*/, const char* /*prompt*/,
                                const char* const* items, int32_t count, int32_t selected) {
    offered.clear();
    for (int32_t k = 0; k < count; ++k)
        offered += (k > 0 ? "|" : "") + std::string(items[k]);
    if (choiceAnswers.empty()) return selected;
    const int32_t answer = choiceAnswers.front();
    choiceAnswers.pop_front();
    return answer;
}

bool FakeExchange::Read(const std::string& file, ForeignFormat kind, const std::string& wanted,
                        int32_t maxSamples, ForeignRecord& out, std::string& error) {
    ++reads;
    path = file;
    format = kind;
    channel = wanted;
    if (!readError.empty()) {
        error = readError;
        return false;
    }
    out = record;
    out.channel = wanted.empty() && !record.channels.empty() ? record.channels.front() : wanted;
    if (out.samplesMv.size() > static_cast<size_t>(maxSamples)) out.samplesMv.resize(maxSamples);
    return true;
}

bool FakeExchange::Write(ForeignFormat kind, const float* samplesMv, int32_t count,
                         double sampleRateHz, const std::string& name, std::string& bytes,
                         std::string& error) {
    if (!writeError.empty()) {
        error = writeError;
        return false;
    }
    std::ostringstream text;
    text.precision(9);
    text << static_cast<int>(kind) << " " << name << " " << sampleRateHz;
    for (int32_t i = 0; i < count; ++i)
        text << " " << samplesMv[i];
    bytes = text.str();
    return true;
}

}  // namespace korvel::test
