// The core reaches the platform only through these small interfaces. The ui
// implements them on real widgets; tests implement them with fakes. Every port
// has a do-nothing default, so a core function never needs a null check.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ports/Exchange.h"
#include "ports/Instrument.h"

namespace korvel {

// ---------------------------------------------------------------- timers

enum class TimerId : int32_t {
    ExtTrigger = 1,    // polls for external triggers while a run waits (100 ms)
    Oscillograph = 2,  // the periodic capture of the main window
    SpectrumRun = 3,   // the spectrum window's continuous run
    CaptureTick = 4,   // polls an instrument for the record under way
};

// Starting a running timer again restarts it with the new period. The host
// calls the core's tick function of the timer (ExtTimerTick, OscTimerTick,
// the spectrum run's tick) from the event loop; the core never sleeps.
class TimerHost {
  public:
    virtual ~TimerHost() = default;
    virtual void Start(TimerId, int32_t /*periodMs*/) {}
    virtual void Kill(TimerId) {}
};

// ---------------------------------------------------------------- controls

// Button faces, by the names of the program's bitmaps.
enum class Face : int32_t {
    Start,            // "B1Bitmap": Start/Stop idle
    Wait,             // "B1Bitmaw": Start/Stop while a run waits or the oscillograph runs
    SpectrumIdle,     // "SBitmap": the spectrum window's run button idle
    FrequencyChosen,  // bitmap 119, red: the Settings dialog's button of the chosen frequency
    FrequencyOther,   // bitmap 118, light grey: its buttons of the other frequencies
};

// The controls of one control bar or dialog, reached by the control ids of its
// template, as the program's logic names them. Writing a field's text raises
// its text-changed handling at once, as typing would: callers that write
// fields they also listen to guard against that themselves.
class Controls {
  public:
    virtual ~Controls() = default;
    // Copies at most size - 1 characters of the control's text and a terminator
    // into text; returns the number copied. An unknown id gives "".
    virtual int32_t GetText(int32_t /*id*/, char* text, size_t size) const {
        if (size > 0) text[0] = '\0';
        return 0;
    }
    virtual void SetText(int32_t /*id*/, const char* /*text*/) {}
    virtual bool IsChecked(int32_t /*id*/) const { return false; }
    virtual void SetChecked(int32_t /*id*/, bool) {}
    virtual void Show(int32_t /*id*/, bool /*visible*/) {}
    virtual void Enable(int32_t /*id*/, bool /*enabled*/) {}
    virtual void SetFace(int32_t /*id*/, Face) {}
    virtual void SetProgressRange(int32_t /*id*/, int32_t /*lo*/, int32_t /*hi*/) {}
    virtual void SetProgressPos(int32_t /*id*/, int32_t /*pos*/) {}
    // Drop-down lists: replace every entry, select one, read the selection.
    virtual void ClearList(int32_t /*id*/) {}
    virtual void AddListItem(int32_t /*id*/, const char* /*text*/) {}
    virtual void SelectListItem(int32_t /*id*/, int32_t /*index*/) {}
    virtual int32_t SelectedListItem(int32_t /*id*/) const { return -1; }
    // Sliders (track bars): range, position, tick marks.
    virtual void SetSliderRange(int32_t /*id*/, int32_t /*lo*/, int32_t /*hi*/) {}
    virtual void SetSliderPos(int32_t /*id*/, int32_t /*pos*/) {}
    virtual int32_t SliderPos(int32_t /*id*/) const { return 0; }
    virtual void ClearSliderTicks(int32_t /*id*/) {}
    virtual void AddSliderTick(int32_t /*id*/, int32_t /*pos*/) {}
    // Shows the bar's changed state on the screen now, not at the next idle moment.
    virtual void Repaint() {}
};

// The count typed into a field, read as "%d" reads it; a number beyond 32
// bits is the largest int. False, count untouched, when the field holds no
// number above 0: counts of records, samples or labels start at 1.
bool ReadFieldCount(const Controls& controls, int32_t id, int32_t& count);

// ---------------------------------------------------------------- frame

enum class Pointer : int32_t { Arrow, Hourglass, SizeWE, Hand };

// The main window as the core sees it.
class Frame {
  public:
    virtual ~Frame() = default;
    virtual void SetPointer(Pointer) {}
    // The system sound of a message-box type: 0 default, 64 asterisk, 48 exclamation.
    // The core calls it only when the Sound setting is on.
    virtual void Beep(int32_t /*type*/) {}
    virtual void SetTitle(const char* /*title*/) {}
    // The plot canvas has changed: show it on the screen now.
    virtual void ShowPlot() {}
    // Opens the spectrum window, or restores and raises the open one, and
    // paints it at once. False when a new window could not be made.
    virtual bool ShowSpectrumWindow() { return true; }
    // The main plot shows another stretch or another record: an open
    // spectrum window follows it (soon, once for many such changes).
    virtual void PlotRangeChanged() {}
};

// ---------------------------------------------------------------- dialogs

struct FileFilter {
    const char* name;     // "KORVEL text file"
    const char* pattern;  // "*.ktf"
};

struct FileDialogRequest {
    const char* title = "";
    const FileFilter* filters = nullptr;
    int32_t filterCount = 0;
    int32_t selectedFilter = 1;         // 1-based; the dialog writes back the user's choice
    const char* defaultExtension = "";  // without the dot
    const char* initialDirectory = ".";
    bool confirmOverwrite = false;  // save dialogs: ask before replacing a file
};

class Dialogs {
  public:
    virtual ~Dialogs() = default;
    // A modal message with an OK button; caption nullptr means the system's default one.
    virtual void Message(const char* /*text*/, const char* /*caption*/) {}
    // The notice of the simulated source: two centred lines and OK.
    virtual void Notice(const char* /*line1*/, const char* /*line2*/) {}
    // Asks for a file to open or to save. Returns false on Cancel. On OK the
    // chosen path is in path (at most size - 1 characters) and
    // request.selectedFilter holds the filter chosen.
    virtual bool OpenFileName(FileDialogRequest& /*request*/, char* /*path*/, size_t /*size*/) {
        return false;
    }
    virtual bool SaveFileName(FileDialogRequest& /*request*/, char* /*path*/, size_t /*size*/) {
        return false;
    }
    // Asks for one of count items (a channel of a file, say); returns its
    // index, or -1 on Cancel. selected is the one offered first.
    virtual int32_t ChooseItem(const char* /*title*/, const char* /*prompt*/,
                               const char* const* /*items*/, int32_t /*count*/, int32_t selected) {
        return selected;
    }
};

// ---------------------------------------------------------------- clipboard

class Clipboard {
  public:
    virtual ~Clipboard() = default;
    // Puts a copy of width x height pixels (0xFFRRGGBB, rows of stride pixels)
    // on the clipboard as a bitmap whose physical size is widthTenthMm x
    // heightTenthMm tenths of a millimetre. Returns false when the clipboard
    // could not be opened; its contents are then unchanged.
    virtual bool SetBitmap(const uint32_t* /*pixels*/, int32_t /*width*/, int32_t /*height*/,
                           int32_t /*stride*/, int32_t /*widthTenthMm*/,
                           int32_t /*heightTenthMm*/) {
        return false;
    }
    // Pixels per logical inch of the screen the bitmaps are copied from,
    // across and down: the physical size of a copy is made from them.
    virtual int32_t DpiX() const { return 96; }
    virtual int32_t DpiY() const { return 96; }
};

// ---------------------------------------------------------------- the set

// The ports in use. The ui installs its implementations at start; each test
// installs its fakes. Unset entries point at the do-nothing defaults.
struct PortSet {
    TimerHost* timers;
    Controls* topBar;             // main window, upper control bar
    Controls* bottomBar;          // main window, lower control bar
    Controls* spectrumTopBar;     // spectrum window, upper bar
    Controls* spectrumBottomBar;  // spectrum window, lower bar
    Frame* frame;
    Dialogs* dialogs;
    Clipboard* clipboard;
    Instrument* instrument;  // instruments through libsigrok; the default has none
    Exchange* exchange;      // other tools' file formats through libsigrok; the default has none
};

extern PortSet Ports;

// Points every port at its do-nothing default.
void ResetPorts();

}  // namespace korvel
