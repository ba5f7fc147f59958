// Scripts of what the user or the program does and what must follow, one test
// per file: tests/data/app/*.txt (the main window's commands and bars, Open
// and Save, the Settings dialog's logic) and tests/data/files/*.txt (data
// files, companion files and korvel.ini, hostile inputs included).
// A line is a verb, a name and a value: the verbs are the Actions and the
// Checks below; a check compares what it finds with the value. A control is
// named as in the dialog's template, or top.Name and bottom.Name in the main
// window's bars; a field by its korvel.ini key or as in Field below. Values
// take \n, \t and \xNN escapes, {f:X} and {i:N} for the four little-endian
// bytes of a float or an integer, {s:N} for N spaces, and TEMP and DATA for
// the test's own folder and tests/data.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "acquisition/CaptureEngine.h"
#include "acquisition/ProcessRecord.h"
#include "acquisition/TickedCapture.h"
#include "app/ControlBarSetup.h"
#include "app/DataFileCommands.h"
#include "app/MainCommands.h"
#include "app/SettingsCommand.h"
#include "app/SettingsDialog.h"
#include "app/SourceCommands.h"
#include "app/StartUp.h"
#include "display/Plot.h"
#include "display/PlotFixture.h"
#include "display/PlotState.h"
#include "files/CompanionFile.h"
#include "files/ConfigFile.h"
#include "files/DataFileReader.h"
#include "files/DataFileState.h"
#include "files/DataFileWriter.h"
#include "model/Conversions.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "model/Parameters.h"
#include "model/SettingFields.h"
#include "ports/ControlIds.h"

namespace korvel {
namespace {

using namespace settings;
using Words = const std::string&;

// clang-format off
const std::map<std::string, int32_t> ControlIds{
    {"Title", Title}, {"Ok", Ok}, {"Cancel", Cancel}, {"AutoNorm", AutoNorm}, {"Min", Min},
    {"Max", Max}, {"Bipolar", Bipolar}, {"Invert", Invert}, {"BaseAddress", BaseAddress},
    {"BaseFrequency", BaseFrequency}, {"Div0", Dividers[0]}, {"Div1", Dividers[1]},
    {"Div2", Dividers[2]}, {"Div3", Dividers[3]}, {"Freq0", FrequencyButtons[0]},
    {"Freq1", FrequencyButtons[1]}, {"Freq2", FrequencyButtons[2]}, {"Freq3", FrequencyButtons[3]},
    {"Amplitude", Amplitude}, {"ZeroLevel", ZeroLevel}, {"LabelsX", LabelsX}, {"LabelsY", LabelsY},
    {"Grid", Grid}, {"PrehistoryLabel", PrehistoryLabel}, {"PrehistorySlider", PrehistorySlider},
    {"PrehistoryEdit", PrehistoryEdit}, {"LengthSlider", LengthSlider}, {"LengthEdit", LengthEdit},
    {"LabelFontList", LabelFontList}, {"MessageFontList", MessageFontList}, {"TDigits", TDigits},
    {"VDigits", VDigits}, {"Sound", Sound}, {"AutoConf", AutoConf}, {"SaveSettings", SaveSettings},
    {"top.FrequencyList", top::FrequencyList}, {"top.Progress", top::Progress},
    {"top.External", top::External}, {"top.Accumulator", top::Accumulator},
    {"top.Oscillograf", top::Oscillograf}, {"top.OscFreq", top::OscFreq},
    {"top.ShowSpectrum", top::ShowSpectrum}, {"bottom.Min", bottom::Min},
    {"bottom.Width", bottom::Width}, {"bottom.Average", bottom::Average},
    {"bottom.FollowMode", bottom::FollowMode}};

// What the user does in the main window, and what the program does for it.
// The arrows of the up-down controls propose -1 (up) or +1 (down), and may always move.
const std::map<std::string, std::function<void()>> Commands{
    {"StartStop", StartStopCommand}, {"ManualStart", ManualStartCommand},
    {"ExternalStart", ExternalStartCommand}, {"Oscillograf", OscillografClicked},
    {"FrequencySelected", FrequencySelected}, {"FollowMode", FollowModeClicked},
    {"ExtTick", ExtTimerTick}, {"Exit", SaveConfigOnExit}, {"Open", OpenCommand},
    {"Save", SaveCommand}, {"WinSave", WinSaveCommand}, {"SetUpBars", SetUpControlBars},
    {"RebuildList", RebuildFrequencyList}, {"SetUpDevice", SetUpDevice},
    {"StartUp", [] { StartUp(); }}, {"Escape", CancelCommand}, {"CaptureTick", CaptureTick},
    {"SaveConfig", [] { EXPECT_TRUE(SaveConfig()); }},
    {"WindowShown", [] { SetMainWindowActive(true); }},
    {"WindowGone", [] { SetMainWindowActive(false); }},
    {"AverageUp", [] { EXPECT_EQ(AverageStep(-1), 0); }},
    {"AverageDown", [] { EXPECT_EQ(AverageStep(+1), 0); }},
    {"AccumulatorUp", [] { EXPECT_EQ(AccumulatorStep(-1), 0); }}};
// clang-format on

// Numbers as the scripts write them: floats in nine digits, from which every float reads back.
template <typename T>
std::string Text(const std::vector<T>& values, const char* separator = " ") {
    std::ostringstream text;
    text.precision(9);
    for (size_t i = 0; i < values.size(); ++i)
        text << (i ? separator : "") << values[i];
    return text.str();
}

std::vector<float> Floats(Words text) {
    std::istringstream in(text);
    std::vector<float> values;
    for (std::string v; in >> v;)  // as strtof reads them: nan and inf too
        values.push_back(std::strtof(v.c_str(), nullptr));
    return values;
}

class AppScript : public test::PlotTest, public ::testing::WithParamInterface<std::string> {
  protected:
    void SetUp() override {
        PlotTest::SetUp();
        Prepare(640, 400);
        ports.topBar.onTextChanged = TopBarTextChanged;
        ports.bottomBar.onTextChanged = BottomBarTextChanged;
        dialog.onTextChanged = [this](int32_t id) { logic.TextChanged(id); };
    }

    // A setting by its korvel.ini key, or a field of the state or of the fakes.
    std::pair<int32_t*, float*> Field(Words name) {
        for (int32_t index = 1; index <= ConfigEntryCount; ++index) {
            const ConfigEntry entry = GetConfigEntry(index);
            if (name == entry.key) return {entry.intField, entry.floatField};
        }
        OscStateRecord& s = OscState;
        // clang-format off
        const std::map<std::string, float*> floats{
            {"SamplePeriod", &s.SamplePeriod}, {"TimeOffset", &s.TimeOffset},
            {"DataMin", &s.DataMin}, {"DataMax", &s.DataMax}, {"ViewMin", &s.ViewMin},
            {"ViewMax", &s.ViewMax}, {"AccBuffer0", &s.AccBuffer[0]}};
        const std::map<std::string, int32_t*> ints{
            {"LoadedLength", &s.LoadedLength}, {"Russian", &s.Russian}, {"FileView", &s.FileView},
            {"DeviceVersion", &s.DeviceVersion}, {"DeviceReady", &s.DeviceReady},
            {"OscRunning", &s.OscRunning}, {"SpectrumRunning", &s.SpectrumRunning},
            {"ExtStart", &s.ExtStart}, {"ExtArmed", &s.ExtArmed}, {"PrevBaseAddr", &s.PrevBaseAddr},
            {"OscToggleBusy", &s.OscToggleBusy}, {"SpectrumValid", &s.SpectrumValid},
            {"CaptureBusy", &s.CaptureBusy},
            {"TrackingOn", &PlotState.TrackingOn}, {"EditsLive", &PlotState.EditsLive},
            {"OpenFilter", &DataFiles.OpenFilterIndex}, {"SaveFilter", &DataFiles.SaveFilterIndex},
            {"PlotsShown", &ports.frame.plotShown}, {"Repaints", &ports.bottomBar.repaints},
            {"DialogRuns", &runs_}, {"Read", &read_}, {"Written", &written_}};
        // clang-format on
        if (floats.count(name)) return {nullptr, floats.at(name)};
        EXPECT_TRUE(ints.count(name)) << "no field " << name;
        return {ints.count(name) ? ints.at(name) : &runs_, nullptr};
    }
    std::string Get(Words name) {
        const auto [i, f] = Field(name);
        return i ? std::to_string(*i) : Text(std::vector{*f});
    }
    void Set(Words name, Words value) {
        const auto [i, f] = Field(name);
        if (i) *i = static_cast<int32_t>(std::stol(value, nullptr, 0));
        if (f) *f = std::strtof(value.c_str(), nullptr);
    }
    // What a value written as the field's own kind reads as.
    std::string Value(Words name, Words value) {
        return Field(name).first ? std::to_string(std::stol(value, nullptr, 0))
                                 : Text(std::vector{std::strtof(value.c_str(), nullptr)});
    }
    test::FakeControls& Surface(Words name) {
        return name.starts_with("top.")      ? ports.topBar
               : name.starts_with("bottom.") ? ports.bottomBar
                                             : dialog;
    }
    int32_t Id(Words name) {
        EXPECT_TRUE(ControlIds.count(name)) << "no control " << name;
        return ControlIds.count(name) ? ControlIds.at(name) : -1;
    }
    test::FakeControl& Control(Words name) { return Surface(name)[Id(name)]; }
    std::string Path(Words name) {
        const bool named = name.starts_with("DATA") || name.starts_with("TEMP");
        return named ? Unescaped(name) : TempDir() + "/" + name;
    }
    std::string Unescaped(Words text) {
        std::string out;
        for (size_t at = 0; at < text.size(); ++at) {
            const char c = text[at];
            if (c == '\\') {  // \n, \t or \xNN
                const bool hex = text[at + 1] == 'x';
                const int code = hex ? std::stoi(text.substr(at + 2, 2), nullptr, 16) : 0;
                out += hex ? static_cast<char>(code) : text[at + 1] == 'n' ? '\n' : '\t';
                at += hex ? 3 : 1;
            } else if (c == '{') {  // {f:X}, {i:N} or {s:N}
                const size_t end = text.find('}', at);
                const std::string number = text.substr(at + 3, end - at - 3);
                const uint32_t bits =
                    text[at + 1] == 'f'
                        ? std::bit_cast<uint32_t>(std::strtof(number.c_str(), nullptr))
                        : static_cast<uint32_t>(std::stoll(number, nullptr, 0));
                const std::string le{char(bits), char(bits >> 8), char(bits >> 16),
                                     char(bits >> 24)};
                out += text[at + 1] == 's' ? std::string(bits, ' ') : le;
                at = end;
            } else if (text.compare(at, 4, "TEMP") == 0 || text.compare(at, 4, "DATA") == 0) {
                out += c == 'T' ? TempDir() : std::string(KORVEL_TEST_DATA_DIR);
                at += 3;
            } else {
                out += c;
            }
        }
        return out;
    }
    std::vector<FileDialogRequest>& Requests(Words kind) {
        return kind == "open" ? ports.dialogs.openRequests : ports.dialogs.saveRequests;
    }
    void Answer(Words kind, Words value) {
        std::istringstream words(value);
        test::FakeDialogs::FileAnswer answer;
        words >> answer.path >> answer.filter;
        auto& answers = kind == "open" ? ports.dialogs.openAnswers : ports.dialogs.saveAnswers;
        answers.push_back({answer.path == "cancel" ? "" : answer.path, answer.filter});
    }
    // The record shown written to a data file: text or binary, whole or samples FIRST..LAST.
    void SaveFile(Words name, Words value) {
        std::istringstream words(value);
        std::string format;
        int32_t first = 0, last = OscSettings.Num_Data - 1;
        words >> format >> first >> last;
        const std::map<std::string, int32_t> kinds{{"text", SaveText},
                                                   {"binary", SaveBinary},
                                                   {"session", SaveSession},
                                                   {"csv", SaveCsv},
                                                   {"wav", SaveWav}};
        const int32_t kind = kinds.count(format) ? kinds.at(format) : 9;
        written_ = WriteDataFile(Path(name).c_str(), kind, first, last).result;
    }
    // A data file read as Open reads it: text, binary, detect, or a mode by number.
    void Read(Words name, Words mode) {
        EXPECT_TRUE(SetDataFileName(Path(name).c_str()));
        read_ = ReadDataFile(mode == "text"      ? DataFileText
                             : mode == "binary"  ? DataFileBinary
                             : mode == "detect"  ? DataFileDetect
                             : mode == "session" ? DataFileSession
                             : mode == "csv"     ? DataFileCsv
                             : mode == "wav"     ? DataFileWav
                                                 : std::stoi(mode))
                    ? 1
                    : 0;
    }
    void Source(Words driver, Words rest) {
        InstrumentChoice choice;
        std::istringstream words(rest);
        words >> choice.channel >> choice.sampleRateHz;
        choice.driver = driver == "simulated" ? "" : driver;
        read_ = SelectSource(choice, true) ? 1 : 0;
    }
    // The fake instrument: rates R ..., openerror TEXT, samples V ..., trigger 0|1.
    void Instrument(Words what, Words value) {
        test::FakeInstrument& i = ports.instrument;
        if (what == "rates") {
            i.device.sampleRatesHz.clear();
            for (const float hz : Floats(value))
                i.device.sampleRatesHz.push_back(static_cast<uint64_t>(hz));
        }
        if (what == "openerror") i.openError = value;
        if (what == "samples") i.samples = Floats(value);
        if (what == "trigger") i.device.externalTrigger = value == "1";
    }
    // The fake exchange: channels NAME ..., samples V ..., rate HZ, total N, readerror TEXT.
    void Exchange(Words what, Words value) {
        test::FakeExchange& x = ports.exchange;
        std::istringstream words(value);
        if (what == "channels") {
            x.record.channels.clear();
            for (std::string name; words >> name;)
                x.record.channels.push_back(name);
        }
        if (what == "samples") x.record.samplesMv = Floats(value);
        if (what == "rate") words >> x.record.sampleRateHz;
        if (what == "total") words >> x.record.totalSamples;
        if (what == "readerror") x.readError = value;
        if (what == "writeerror") x.writeError = value;
    }
    // The Settings command, with its dialog's steps up to "ok" or "cancel".
    void RunSettings() {
        SettingsCommand([&] {
            ++runs_;
            dialog = {};
            dialog.onTextChanged = [this](int32_t id) { logic.TextChanged(id); };
            logic.Initialise();
            pressedOk_ = false;
            for (std::string step; std::getline(script_, step) && Step(step);) {
            }
            if (pressedOk_) logic.Ok();
            return pressedOk_;
        });
    }
    // A record read from a file, not yet processed (its record -1).
    static void FileData(const std::vector<float>& samples) {
        std::ranges::copy(samples, OscState.FileData);
        std::fill_n(OscState.Record, samples.size(), -1.0f);
    }
    std::vector<std::pair<std::string, std::string>>& Notices() { return ports.dialogs.notices; }
    static std::string Last(const std::vector<test::FakeDialogs::Shown>& shown) {
        return std::to_string(shown.size()) + (shown.empty() ? "" : " " + shown.back().text);
    }
    std::string Saved(int32_t from) {
        const size_t bytes = sizeof(float) * OscState.LoadedLength;
        return Same(OscState.FileData, notedState_->Record + from, bytes) ? "" : "changed";
    }
    static bool Same(const void* a, const void* b, size_t n) { return std::memcmp(a, b, n) == 0; }
    static std::string Flag(bool on) { return on ? "1" : "0"; }
    // Every setting as noted, and the state fields the steps may move, bit for bit.
    std::string AsNoted(Words what) {
        const OscStateRecord& s = *notedState_;
        bool same = Same(&OscSettings, &noted_, sizeof noted_) &&
                    Same(&OscState.SamplePeriod, &s.SamplePeriod, 4);
        if (what == "read") {  // the record read, and its times
            same = same && Same(&OscState.TimeOffset, &s.TimeOffset, 4) &&
                   OscState.LoadedLength == s.LoadedLength &&
                   Same(OscState.FileData, s.FileData, sizeof s.FileData);
        }
        if (what == "record") same = Same(OscState.Record, s.Record, sizeof s.Record);
        return same ? "" : "changed";
    }
// The body of a step, which sees the line's name n and value v.
#define STEP(...) [this]([[maybe_unused]] Words n, [[maybe_unused]] Words v) { __VA_ARGS__; }
#define FIND(...) [this]([[maybe_unused]] Words n, [[maybe_unused]] Words v) { return __VA_ARGS__; }

    // clang-format off
    const std::map<std::string, std::function<void(Words, Words)>> Actions{
        {"set", STEP(Set(n, v))},
        {"do", STEP(EXPECT_TRUE(Commands.count(n)) << n; if (Commands.count(n)) Commands.at(n)())},
        {"frequency", STEP(SetFrequencyIndex(std::stoi(n)))},  // as the main window selects it
        {"subwindow", STEP(SetSubWindow(std::stoi(n), std::stoi(v)))},
        {"fill", STEP(std::fill_n(OscState.AccBuffer, MaxData, std::stof(n)))},  // all codes
        {"setrecord", STEP(std::ranges::copy(Floats(n + " " + v), OscState.Record))},
        {"filedata", STEP(FileData(Floats(n + " " + v)))},
        {"reset", STEP(ResetOscSettings())},
        {"load", STEP(ResetOscSettings(); LoadConfig())},  // korvel.ini, from the defaults
        {"noconfig", STEP(setenv("XDG_CONFIG_HOME", WriteFile("x", "").c_str(), 1))},  // no folder
        {"file", STEP(WriteFile(n, v))},
        {"fifo", STEP(mkfifo(Path(n).c_str(), 0600))},  // a named pipe nobody writes to
        {"answer", STEP(Answer(n, v))},  // the next file dialog's answer
        {"note", STEP(noted_ = OscSettings; *notedState_ = OscState)},
        {"read", STEP(Read(n, v))},
        {"savefile", STEP(SaveFile(n, v))},
        {"source", STEP(Source(n, v))},  // the Device dialog's OK: DRIVER CHANNEL RATE, or simulated
        {"instrument", STEP(Instrument(n, v))},
        {"exchange", STEP(Exchange(n, v))},
        {"choose", STEP(ports.dialogs.choiceAnswers.push_back(std::stoi(n)))},  // the next choice
        {"channel", STEP(DataFiles.ForeignChannel = n)},  // the channel of another tool's file
        {"companion", STEP(ReadCompanionSettings(Path(n).c_str()))},
        // The Settings dialog: its own buttons, and the command around it.
        {"open", STEP(logic.Initialise())},
        {"take", STEP(logic.Ok())},
        {"save", STEP(logic.SaveSettingsClicked())},
        {"button", STEP(logic.FrequencyClicked(std::stoi(n)))},
        {"autonorm", STEP(dialog[AutoNorm].checked = n == "1"; logic.AutoNormClicked())},
        {"settings", STEP(RunSettings())},
        // Controls as the user works them; "write" reports no change.
        {"type", STEP(Surface(n).Type(Id(n), v))},
        {"write", STEP(Control(n).text = v)},
        {"tick", STEP(Control(n).checked = v == "1")},
        {"pick", STEP(Control(n).selected = std::stoi(v))},
        {"slide", STEP(Control(n).sliderPos = std::stoi(v); logic.SliderMoved(Id(n)))}};

    // Each check finds a text for the line's name, to compare with its value.
    const std::map<std::string, std::function<std::string(Words, Words)>> Checks{
        {"expect", FIND(Get(n))},
        {"shown", FIND(Control(n).text)},
        {"checked", FIND(Flag(Control(n).checked))},
        {"enabled", FIND(Flag(Control(n).enabled))},
        {"visible", FIND(Flag(Control(n).visible))},
        {"chosen", FIND(Flag(Control(n).face == Face::FrequencyChosen))},
        {"selected", FIND(std::to_string(Control(n).selected))},
        {"items", FIND(Text(Control(n).items, "|"))},
        {"ticks", FIND(Text(Control(n).ticks))},
        {"slider",
         FIND(Text(std::vector{Control(n).sliderLo, Control(n).sliderHi, Control(n).sliderPos}))},
        {"title", FIND(ports.frame.title)},
        {"filename", FIND(std::string(DataFiles.DataFileName))},
        {"reason",  // why the last data file read was refused, as the user is told
         FIND(DataFileReadText(DataFiles.LastRead, DataFiles.DataFileName, 0))},
        {"messages", FIND(Last(ports.dialogs.messages))},  // how many, and the last one's text
        {"offered", FIND(ports.dialogs.offered)},  // the items of the last choice asked for
        {"exchanged",  // the last read of another tool's file: its format and channel
         FIND(std::to_string(static_cast<int>(ports.exchange.format)) +
              (ports.exchange.channel.empty() ? "" : " " + ports.exchange.channel))},
        {"asked", FIND(ports.instrument.opened.driver + " " + ports.instrument.opened.channel + " " +
                       std::to_string(ports.instrument.opened.sampleRateHz))},  // the last Open
        {"notices",  // how many, and the last one's second line
         FIND(std::to_string(Notices().size()) + " " + Notices().back().second)},
        {"request", FIND(test::Describe(Requests(n).back()))},
        {"requests", FIND(std::to_string(Requests(n).size()))},
        {"running",  // a timer's period, -1 while it does not run
         FIND(std::to_string(ports.timers.Period(n == "ExtTrigger" ? TimerId::ExtTrigger
                                                                   : TimerId::Oscillograph)))},
        {"contents", FIND(ReadFile(Path(n)))},
        {"exists", FIND(Flag(std::filesystem::exists(Path(n))))},
        {"begins", FIND(ReadFile(Path(n)).substr(0, v.size()))},
        {"record",  // the first samples of the record shown
         FIND(Text(std::vector(OscState.Record, OscState.Record + Floats(n + " " + v).size())))},
        {"samples",  // every sample read
         FIND(Text(std::vector(OscState.FileData, OscState.FileData + OscState.LoadedLength)))},
        {"saved", FIND(Saved(std::stoi(n)))},  // the samples read: the noted record's from n on
        {"same", FIND(AsNoted(n))}};  // as noted: the settings, the record read, the record shown
    // clang-format on

    // One line; false when it ends the dialog of a Settings command.
    bool Step(Words line) {
        std::istringstream in(line);
        std::string verb, name, value;
        in >> verb >> name;
        if (in.peek() == ' ') in.get();
        std::getline(in, value);
        value = Unescaped(value);
        if (verb == "ok" || verb == "cancel") pressedOk_ = verb == "ok";
        if (verb == "ok" || verb == "cancel") return false;
        if (verb.empty() || verb[0] == '#') return true;
        EXPECT_TRUE(Actions.count(verb) || Checks.count(verb)) << "no such step: " << line;
        if (Actions.count(verb)) Actions.at(verb)(name, value);
        if (!Checks.count(verb)) return true;
        const std::string all = Unescaped(name + (value.empty() ? "" : " " + value));
        const bool whole = verb == "title" || verb == "filename" || verb == "messages" ||
                           verb == "notices" || verb == "reason" || verb == "asked" ||
                           verb == "exchanged" || verb == "offered";
        const std::string found = Checks.at(verb)(name, value);
        // A field's value, and the record's, compare as numbers of the field's kind.
        const std::string wanted = verb == "expect"                        ? Value(name, value)
                                   : verb == "record" || verb == "samples" ? Text(Floats(all))
                                   : whole                                 ? all
                                                                           : value;
        EXPECT_EQ(found, wanted) << GetParam() << ": " << line;
        return true;
    }

    test::FakeControls dialog;
    SettingsDialog logic{dialog};
    std::ifstream script_;
    bool pressedOk_ = false;
    int32_t runs_ = 0, read_ = -1, written_ = -1;
    OscSettingsRecord noted_;
    std::unique_ptr<OscStateRecord> notedState_ = std::make_unique<OscStateRecord>();
};

TEST_P(AppScript, Runs) {
    script_.open(std::string(KORVEL_TEST_DATA_DIR) + "/" + GetParam() + ".txt");
    ASSERT_TRUE(script_.is_open());
    for (std::string line; std::getline(script_, line) && !HasFatalFailure();)
        Step(line);
}

std::vector<std::string> Scripts(Words folder) {
    std::vector<std::string> names;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(KORVEL_TEST_DATA_DIR) + "/" + folder)) {
        const auto& path = entry.path();
        if (path.extension() == ".txt") names.push_back(folder + "/" + path.stem().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string TestName(const ::testing::TestParamInfo<std::string>& info) {
    std::string name = info.param.substr(info.param.find('/') + 1);
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
}

INSTANTIATE_TEST_SUITE_P(App, AppScript, ::testing::ValuesIn(Scripts("app")), TestName);
INSTANTIATE_TEST_SUITE_P(Files, AppScript, ::testing::ValuesIn(Scripts("files")), TestName);

#undef STEP
#undef FIND

}  // namespace
}  // namespace korvel
