// Fakes of the core's ports: they remember what the core did and answer what
// the test tells them, so state sequences run without a window or a clock.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "ports/Ports.h"

namespace korvel::test {

// One control of a fake bar or dialog.
struct FakeControl {
    std::string text;
    bool checked = false;
    bool visible = true;
    bool enabled = true;
    Face face = Face::Start;
    int32_t progressLo = 0, progressHi = 100, progressPos = 0;
    std::vector<std::string> items;
    int32_t selected = -1;
    int32_t sliderLo = 0, sliderHi = 100, sliderPos = 0;
    std::vector<int32_t> ticks;
};

// A bar or dialog. SetText runs onTextChanged(id) afterwards, as a real edit
// field reports a change of its text; Type() does the same as a user typing.
class FakeControls : public Controls {
  public:
    FakeControl& operator[](int32_t id) { return controls_[id]; }
    std::function<void(int32_t id)> onTextChanged;
    int32_t repaints = 0;
    // Every SetText in order, as (id, text).
    std::vector<std::pair<int32_t, std::string>> writes;

    void Type(int32_t id, const std::string& text);

    int32_t GetText(int32_t id, char* text, size_t size) const override;
    void SetText(int32_t id, const char* text) override;
    bool IsChecked(int32_t id) const override;
    void SetChecked(int32_t id, bool checked) override { controls_[id].checked = checked; }
    void Show(int32_t id, bool visible) override { controls_[id].visible = visible; }
    void Enable(int32_t id, bool enabled) override { controls_[id].enabled = enabled; }
    void SetFace(int32_t id, Face face) override { controls_[id].face = face; }
    void SetProgressRange(int32_t id, int32_t lo, int32_t hi) override;
    void SetProgressPos(int32_t id, int32_t pos) override { controls_[id].progressPos = pos; }
    void ClearList(int32_t id) override { controls_[id].items.clear(); }
    void AddListItem(int32_t id, const char* text) override {
        controls_[id].items.emplace_back(text);
    }
    void SelectListItem(int32_t id, int32_t index) override { controls_[id].selected = index; }
    int32_t SelectedListItem(int32_t id) const override;
    void SetSliderRange(int32_t id, int32_t lo, int32_t hi) override;
    void SetSliderPos(int32_t id, int32_t pos) override { controls_[id].sliderPos = pos; }
    int32_t SliderPos(int32_t id) const override;
    void ClearSliderTicks(int32_t id) override { controls_[id].ticks.clear(); }
    void AddSliderTick(int32_t id, int32_t pos) override { controls_[id].ticks.push_back(pos); }
    void Repaint() override { ++repaints; }

  private:
    mutable std::map<int32_t, FakeControl> controls_;
};

// Timers that run only when the test calls Tick.
class FakeTimers : public TimerHost {
  public:
    void Start(TimerId id, int32_t periodMs) override { periods_[id] = periodMs; }
    void Kill(TimerId id) override { periods_.erase(id); }
    bool Running(TimerId id) const { return periods_.count(id) != 0; }
    // The period of a running timer, or -1.
    int32_t Period(TimerId id) const;

  private:
    std::map<TimerId, int32_t> periods_;
};

class FakeFrame : public Frame {
  public:
    void SetPointer(Pointer shape) override { pointers.push_back(shape); }
    void Beep(int32_t type) override { beeps.push_back(type); }
    void SetTitle(const char* text) override { title = text; }
    void ShowPlot() override { ++plotShown; }
    bool ShowSpectrumWindow() override {
        ++spectrumShown;
        return spectrumWindowMade;
    }

    std::vector<Pointer> pointers;
    std::vector<int32_t> beeps;
    std::string title;
    int32_t plotShown = 0;
    int32_t spectrumShown = 0;
    bool spectrumWindowMade = true;  // false: the spectrum window cannot be made
};

// Dialogs answered from queues the test fills. An empty queue answers Cancel.
class FakeDialogs : public Dialogs {
  public:
    struct Shown {
        std::string text;
        std::string caption;  // "(default)" for the system's default caption
    };
    struct FileAnswer {
        std::string path;  // empty: Cancel
        int32_t filter = 1;
    };
    void Message(const char* text, const char* caption) override;
    void Notice(const char* line1, const char* line2) override;
    bool OpenFileName(FileDialogRequest& request, char* path, size_t size) override;
    bool SaveFileName(FileDialogRequest& request, char* path, size_t size) override;
    // Answers with the next of choiceAnswers (the offered item when there is
    // none) and keeps the items offered, "|" between them.
    int32_t ChooseItem(const char* title, const char* prompt, const char* const* items,
                       int32_t count, int32_t selected) override;

    std::vector<Shown> messages;
    std::deque<int32_t> choiceAnswers;
    std::string offered;
    std::vector<std::pair<std::string, std::string>> notices;
    std::deque<FileAnswer> openAnswers, saveAnswers;
    // The requests as the dialogs saw them: title, filters, selected filter.
    // Their filter lists are copies: the caller's own list is gone once the
    // dialog has returned.
    std::vector<FileDialogRequest> openRequests, saveRequests;

  private:
    void Keep(std::vector<FileDialogRequest>& requests, const FileDialogRequest& request);
    std::deque<std::vector<FileFilter>> filterCopies_;
};

class FakeClipboard : public Clipboard {
  public:
    bool SetBitmap(const uint32_t* pixels, int32_t width, int32_t height, int32_t stride,
                   int32_t widthTenthMm, int32_t heightTenthMm) override;
    int32_t DpiX() const override { return dpiX; }
    int32_t DpiY() const override { return dpiY; }
    bool available = true;
    int32_t dpiX = 96, dpiY = 96;  // the screen's resolution the test chooses
    std::vector<uint32_t> pixels;  // width x height, packed
    int32_t width = 0, height = 0, widthTenthMm = 0, heightTenthMm = 0;
    int32_t copies = 0;
};

// A file dialog's request in one line: title, every filter's name and
// pattern, selected filter, default extension, folder, and "ask" or
// "replace" for the overwrite question.
std::string Describe(const FileDialogRequest& request);

// All fakes together; Install() points Ports at them.
// An instrument that delivers, after pollsPerRecord polls, a record whose
// sample i is samples[i % samples.size()] (mV); it can refuse to open or start,
// and fail a record. It keeps what it was asked.
struct FakeInstrument : Instrument {
    bool available = true;
    InstrumentDevice device{"demo", "Demo device", "", {"A0", "A1"}, {1000, 1000000}, true};
    std::vector<float> samples{1.0f, 2.0f, 3.0f};
    int32_t pollsPerRecord = 2;
    std::string openError, startError, failError;  // non-empty: that step fails so
    int32_t failAfterRecords = -1;                 // the record after that many fails
    // What happened: opens, starts (count, trigger), polls, cancels, closes.
    InstrumentChoice opened;
    int32_t opens = 0, starts = 0, polls = 0, cancels = 0, closes = 0, lastCount = 0;
    bool lastTrigger = false, running = false;
    int32_t pollsLeft = 0, delivered = 0;

    bool Available(std::string& error) override;
    std::vector<InstrumentDevice> Scan(const std::string&, const std::string&,
                                       std::string& error) override;
    bool Open(const InstrumentChoice& choice, InstrumentDevice& out, std::string& error) override;
    void Close() override;
    bool Start(int32_t count, bool trigger, std::string& error) override;
    InstrumentPoll Poll(float* out, std::string& error) override;
    void Cancel() override;
};

// Other tools' formats: Read gives record (or fails with readError) and keeps
// what it was asked; Write gives "FORMAT CHANNEL RATE v v v ..." as the bytes.
struct FakeExchange : Exchange {
    ForeignRecord record;
    std::string readError, writeError;
    std::string path, channel;  // the last Read's
    ForeignFormat format = ForeignFormat::None;
    int32_t reads = 0;

    bool Read(const std::string& path, ForeignFormat format, const std::string& channel,
              int32_t maxSamples, ForeignRecord& out, std::string& error) override;
    bool Write(ForeignFormat format, const float* samplesMv, int32_t count, double sampleRateHz,
               const std::string& channel, std::string& bytes, std::string& error) override;
};

struct FakePorts {
    FakeTimers timers;
    FakeControls topBar, bottomBar, spectrumTopBar, spectrumBottomBar;
    FakeFrame frame;
    FakeDialogs dialogs;
    FakeClipboard clipboard;
    FakeInstrument instrument;
    FakeExchange exchange;
    void Install();
};

}  // namespace korvel::test
