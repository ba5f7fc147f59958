// Scripts of what the user or the program does and what must follow, one test
// per file: tests/data/app/*.txt (the main window's commands and bars, Open
// and Save, the Settings dialog's logic) and tests/data/files/*.txt (data
// files, companion files and korvel.ini as read, hostile inputs included).
// A line is a verb, a name and a value (the verbs are those of Verbs below).
// A control is named as in the dialog's template, or top.Name and bottom.Name
// in the main window's bars; a field by its korvel.ini key or as in Field
// below. Values take \n, \r, \t and \xNN escapes, {f:X} and {i:N} for the four
// little-endian bytes of a float or an integer, {s:N} for N spaces, and TEMP
// and DATA for the test's own folder and tests/data.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iomanip>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "acquisition/CaptureEngine.h"
#include "acquisition/ProcessRecord.h"
#include "app/BarTips.h"
#include "app/ControlBarSetup.h"
#include "app/DataFileCommands.h"
#include "app/MainCommands.h"
#include "app/SettingsCommand.h"
#include "app/SettingsDialog.h"
#include "app/StartUp.h"
#include "display/Plot.h"
#include "display/PlotFixture.h"
#include "display/PlotState.h"
#include "display/PlotStyle.h"
#include "files/CompanionFile.h"
#include "files/ConfigEntries.h"
#include "files/ConfigFile.h"
#include "files/DataFileReader.h"
#include "files/DataFileState.h"
#include "model/Conversions.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "model/Parameters.h"
#include "ports/ControlIds.h"

namespace korvel {
namespace {

using namespace settings;

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

// What the user does in the main window, and what the window does for itself.
// The arrows of the up-down controls propose -1 (up) or +1 (down), and may always move.
const std::map<std::string, std::function<void()>> Commands{
    {"StartStop", StartStopCommand}, {"ManualStart", ManualStartCommand},
    {"ExternalStart", ExternalStartCommand}, {"Oscillograf", OscillografClicked},
    {"FrequencySelected", FrequencySelected}, {"FollowMode", FollowModeClicked},
    {"ExtTick", ExtTimerTick}, {"Exit", SaveConfigOnExit}, {"Open", OpenCommand},
    {"Save", SaveCommand}, {"WinSave", WinSaveCommand}, {"SetUpBars", SetUpControlBars},
    {"RebuildList", RebuildFrequencyList}, {"SetUpDevice", SetUpDevice},
    {"StartUp", [] { EXPECT_EQ(StartUp(), 0); }},
    {"WindowShown", [] { SetMainWindowActive(true); }},
    {"WindowGone", [] { SetMainWindowActive(false); }},
    {"AverageUp", [] { EXPECT_EQ(AverageStep(-1), 0); }},
    {"AverageDown", [] { EXPECT_EQ(AverageStep(+1), 0); }},
    {"AccumulatorUp", [] { EXPECT_EQ(AccumulatorStep(-1), 0); }}};
// clang-format on

// File dialogs that also count the dialogs shown while the mouse was still tracked.
struct WatchedDialogs : test::FakeDialogs {
    bool OpenFileName(FileDialogRequest& request, char* path, size_t size) override {
        tracked += PlotState.TrackingOn;
        return FakeDialogs::OpenFileName(request, path, size);
    }
    bool SaveFileName(FileDialogRequest& request, char* path, size_t size) override {
        tracked += PlotState.TrackingOn;
        return FakeDialogs::SaveFileName(request, path, size);
    }
    int32_t tracked = 0;
};

// Numbers as the scripts write them: floats in nine digits, which every float reads back from.
template <typename T>
std::string Text(const std::vector<T>& values, const char* separator = " ") {
    std::ostringstream text;
    for (size_t i = 0; i < values.size(); ++i)
        text << (i ? separator : "") << std::setprecision(9) << values[i];
    return text.str();
}

std::vector<float> Floats(const std::string& text) {
    std::istringstream in(text);
    std::vector<float> values;
    for (float v; in >> v;)
        values.push_back(v);
    return values;
}

class AppScript : public test::PlotTest, public ::testing::WithParamInterface<std::string> {
  protected:
    using Verb = std::function<void(const std::string& name, const std::string& value)>;

    void SetUp() override {
        PlotTest::SetUp();
        Prepare(640, 400);
        Ports.dialogs = &dialogs;
        ports.topBar.onTextChanged = TopBarTextChanged;
        ports.bottomBar.onTextChanged = BottomBarTextChanged;
        dialog.onTextChanged = [this](int32_t id) { logic.TextChanged(id); };
    }

    // A setting by its korvel.ini key, or a field of the state or of the fakes.
    std::pair<int32_t*, float*> Field(const std::string& name) {
        for (int32_t index = 1; index <= ConfigEntryCount; ++index) {
            const ConfigEntry entry = GetConfigEntry(index);
            if (name == entry.key) return {entry.intField, entry.floatField};
        }
        OscStateRecord& s = OscState;
        // clang-format off
        const std::map<std::string, std::pair<int32_t*, float*>> fields{
            {"SamplePeriod", {nullptr, &s.SamplePeriod}}, {"TimeOffset", {nullptr, &s.TimeOffset}},
            {"DataMax", {nullptr, &s.DataMax}}, {"AccBuffer0", {nullptr, &s.AccBuffer[0]}},
            {"ViewMin", {nullptr, &s.ViewMin}}, {"ViewMax", {nullptr, &s.ViewMax}},
            {"LoadedLength", {&s.LoadedLength, nullptr}}, {"Russian", {&s.Russian, nullptr}},
            {"DeviceVersion", {&s.DeviceVersion, nullptr}}, {"DeviceReady", {&s.DeviceReady, nullptr}},
            {"FileView", {&s.FileView, nullptr}}, {"OscRunning", {&s.OscRunning, nullptr}},
            {"SpectrumRunning", {&s.SpectrumRunning, nullptr}}, {"ExtStart", {&s.ExtStart, nullptr}},
            {"OscToggleBusy", {&s.OscToggleBusy, nullptr}}, {"ExtArmed", {&s.ExtArmed, nullptr}},
            {"PrevBaseAddr", {&s.PrevBaseAddr, nullptr}}, {"SpectrumValid", {&s.SpectrumValid, nullptr}},
            {"TrackingOn", {&PlotState.TrackingOn, nullptr}}, {"EditsLive", {&PlotState.EditsLive, nullptr}},
            {"OpenFilter", {&DataFiles.OpenFilterIndex, nullptr}},
            {"SaveFilter", {&DataFiles.SaveFilterIndex, nullptr}},
            {"PlotsShown", {&ports.frame.plotShown, nullptr}}, {"Repaints", {&ports.bottomBar.repaints, nullptr}},
            {"TrackedWhileOpen", {&dialogs.tracked, nullptr}}, {"DialogRuns", {&runs, nullptr}},
            {"DataMin", {nullptr, &s.DataMin}}, {"Read", {&read_, nullptr}}};
        // clang-format on
        const auto found = fields.find(name);
        if (found != fields.end()) return found->second;
        ADD_FAILURE() << "no field " << name;
        return {&runs, nullptr};
    }
    std::string Get(const std::string& name) {
        const auto [i, f] = Field(name);
        return i ? std::to_string(*i) : Text(std::vector{*f});
    }
    void Set(const std::string& name, const std::string& value) {
        const auto [i, f] = Field(name);
        i ? void(*i = static_cast<int32_t>(std::stol(value, nullptr, 0)))
          : void(*f = std::strtof(value.c_str(), nullptr));
    }
    test::FakeControls& Surface(const std::string& name) {
        return name.starts_with("top.")      ? ports.topBar
               : name.starts_with("bottom.") ? ports.bottomBar
                                             : dialog;
    }
    int32_t Id(const std::string& name) {
        EXPECT_TRUE(ControlIds.count(name)) << "no control " << name;
        return ControlIds.count(name) ? ControlIds.at(name) : -1;
    }
    std::string Path(const std::string& name) {
        return name.starts_with("DATA") || name.starts_with("TEMP") ? Unescaped(name)
                                                                    : TempDir() + "/" + name;
    }
    test::FakeControl& Control(const std::string& name) { return Surface(name)[Id(name)]; }
    std::string Unescaped(std::string text) {
        for (size_t at = 0; (at = text.find('\\', at)) != std::string::npos; ++at) {
            const char c = text[at + 1];
            const char made = c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : '\0';
            const int hex = c == 'x' ? std::stoi(text.substr(at + 2, 2), nullptr, 16) : made;
            text.replace(at, c == 'x' ? 4 : 2, 1, static_cast<char>(hex));
        }
        for (size_t at = 0; (at = text.find('{', at)) != std::string::npos; ++at) {
            const size_t end = text.find('}', at);
            const std::string number = text.substr(at + 3, end - at - 3);
            const uint32_t bits =
                text[at + 1] == 'f' ? std::bit_cast<uint32_t>(std::strtof(number.c_str(), nullptr))
                                    : static_cast<uint32_t>(std::stoll(number));
            const std::string le{char(bits), char(bits >> 8), char(bits >> 16), char(bits >> 24)};
            text.replace(at, end - at + 1, text[at + 1] == 's' ? std::string(bits, ' ') : le);
        }
        for (const auto& [word, path] :
             {std::pair("TEMP", TempDir()), {"DATA", KORVEL_TEST_DATA_DIR}}) {
            for (size_t at = 0; (at = text.find(word, at)) != std::string::npos; at += path.size())
                text.replace(at, 4, path);
        }
        return text;
    }
    void Check(const std::string& actual, const std::string& wanted) {
        EXPECT_EQ(actual, wanted) << GetParam() << ": " << line_;
    }
    void Answer(std::deque<test::FakeDialogs::FileAnswer>& answers, const std::string& value) {
        std::istringstream words(value);
        test::FakeDialogs::FileAnswer answer;
        words >> answer.path >> answer.filter;
        answers.push_back({answer.path == "cancel" ? "" : answer.path, answer.filter});
    }
    std::string Tip(const std::string& bar, const std::string& value) {
        const char* tip = TipText(bar == "top" ? Bar::Top : Bar::Bottom, std::stoi(value));
        return value.substr(0, value.find(' ') + 1) + (tip ? tip : "none");
    }
    std::vector<FileDialogRequest>& Requests(const std::string& kind) {
        return kind == "open" ? dialogs.openRequests : dialogs.saveRequests;
    }
    std::string Last(const std::vector<test::FakeDialogs::Shown>& shown) {
        return std::to_string(shown.size()) + (shown.empty() ? "" : " " + shown.back().text);
    }
    // The Settings command, with its dialog's steps up to "ok" or "cancel".
    void RunSettings() {
        SettingsCommand([&] {
            ++runs;
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
    bool Same(const void* a, const void* b, size_t bytes) { return std::memcmp(a, b, bytes) == 0; }

    // clang-format off
    const std::map<std::string, Verb> Verbs{
        // Settings, the state, files and dialogs' answers.
        {"set", [this](auto& n, auto& v) { Set(n, v); }},
        {"do", [this](auto& n, auto&) { EXPECT_TRUE(Commands.count(n)) << line_; if (Commands.count(n)) Commands.at(n)(); }},
        {"frequency", [](auto& n, auto&) { SetFrequencyIndex(std::stoi(n)); }},  // as the main window selects it
        {"subwindow", [](auto& n, auto& v) { SetSubWindow(std::stoi(n), std::stoi(v)); }},
        {"fill", [](auto& n, auto&) { std::fill_n(OscState.AccBuffer, MaxData, std::stof(n)); }},  // every captured code
        {"filedata", [](auto& n, auto& v) {  // a record read from a file, not yet processed (-1)
            const std::vector<float> samples = Floats(n + " " + v);
            std::copy(samples.begin(), samples.end(), OscState.FileData);
            std::fill_n(OscState.Record, samples.size(), -1.0f); }},
        {"reset", [](auto&, auto&) { ResetOscSettings(); }},
        {"load", [](auto&, auto&) { ResetOscSettings(); LoadConfig(); }},
        {"noconfig", [this](auto&, auto&) { setenv("XDG_CONFIG_HOME", WriteFile("blocked", "").c_str(), 1); }},
        {"file", [this](auto& n, auto& v) { WriteFile(n, v); }},
        {"answer", [this](auto& n, auto& v) { Answer(n == "open" ? dialogs.openAnswers : dialogs.saveAnswers, v); }},
        {"note", [this](auto&, auto&) { noted_ = OscSettings; *notedState_ = OscState; }},
        // Data files read as Open reads them (mode text, binary, detect or a number), and shown.
        {"read", [this](auto& n, auto& v) {
            EXPECT_TRUE(SetDataFileName(Path(n).c_str()));
            read_ = ReadDataFile(v == "text" ? DataFileText : v == "binary" ? DataFileBinary : v == "detect" ? DataFileDetect : std::stoi(v)); }},
        {"companion", [this](auto& n, auto&) { ReadCompanionSettings(Path(n).c_str()); }},
        {"process", [](auto&, auto&) {
            OscState.AutoNormPending = 1;
            PlotState.EditsLive = 0;
            ProcessRecord();
            RequestAutoNorm();
            RefreshPlot(); }},
        // The Settings dialog: its own buttons, and the command around it.
        {"open", [this](auto&, auto&) { logic.Initialise(); }},
        {"take", [this](auto&, auto&) { logic.Ok(); }},
        {"save", [this](auto&, auto&) { logic.SaveSettingsClicked(); }},
        {"button", [this](auto& n, auto&) { logic.FrequencyClicked(std::stoi(n)); }},
        {"autonorm", [this](auto& n, auto&) { dialog[AutoNorm].checked = n == "1"; logic.AutoNormClicked(); }},
        {"settings", [this](auto&, auto&) { RunSettings(); }},
        // Controls, as the user works them.
        {"type", [this](auto& n, auto& v) { Surface(n).Type(Id(n), v); }},
        {"write", [this](auto& n, auto& v) { Control(n).text = v; }},  // no change reported
        {"tick", [this](auto& n, auto& v) { Control(n).checked = v == "1"; }},
        {"pick", [this](auto& n, auto& v) { Control(n).selected = std::stoi(v); }},
        {"slide", [this](auto& n, auto& v) { Control(n).sliderPos = std::stoi(v); logic.SliderMoved(Id(n)); }},
        // Checks: of fields, controls, the frame, the dialogs, files and the record.
        {"expect", [this](auto& n, auto& v) { Check(Get(n), Field(n).first ? std::to_string(std::stol(v, nullptr, 0)) : Text(std::vector{std::strtof(v.c_str(), nullptr)})); }},
        {"shown", [this](auto& n, auto& v) { Check(Control(n).text, v); }},
        {"checked", [this](auto& n, auto& v) { Check(Control(n).checked ? "1" : "0", v); }},
        {"enabled", [this](auto& n, auto& v) { Check(Control(n).enabled ? "1" : "0", v); }},
        {"visible", [this](auto& n, auto& v) { Check(Control(n).visible ? "1" : "0", v); }},
        {"chosen", [this](auto& n, auto& v) { Check(Control(n).face == Face::FrequencyChosen ? "1" : "0", v); }},
        {"selected", [this](auto& n, auto& v) { Check(std::to_string(Control(n).selected), v); }},
        {"items", [this](auto& n, auto& v) { Check(Text(Control(n).items, "|"), v); }},
        {"ticks", [this](auto& n, auto& v) { Check(Text(Control(n).ticks), v); }},
        {"slider", [this](auto& n, auto& v) { auto& c = Control(n); Check(Text(std::vector{c.sliderLo, c.sliderHi, c.sliderPos}), v); }},
        {"title", [this](auto& n, auto& v) { Check(ports.frame.title, Unescaped(n + " " + v)); }},
        {"filename", [this](auto& n, auto&) { Check(DataFiles.DataFileName, Unescaped(n)); }},
        {"fontheight", [this](auto& n, auto&) { Check(std::to_string(LabelFont.Height()), n); }},
        {"tip", [this](auto& n, auto& v) { Check(Tip(n, v), v); }},  // by bar and control number
        {"message", [this](auto& n, auto& v) { Check(Last(dialogs.messages), n + (v.empty() ? "" : " " + v)); }},
        {"notice", [this](auto& n, auto& v) { Check(std::to_string(dialogs.notices.size()) + " " + dialogs.notices.back().first + "|" + dialogs.notices.back().second, n + " " + v); }},
        {"request", [this](auto& n, auto& v) { Check(test::Describe(Requests(n).back()), v); }},
        {"requests", [this](auto& n, auto& v) { Check(std::to_string(Requests(n).size()), v); }},
        {"running", [this](auto& n, auto& v) { Check(std::to_string(ports.timers.Period(n == "Oscillograph" ? TimerId::Oscillograph : TimerId::ExtTrigger)), v); }},
        {"begins", [this](auto& n, auto& v) { Check(ReadFile(TempDir() + "/" + n).substr(0, v.size()), v); }},
        {"record", [this](auto& n, auto& v) { auto want = Floats(n + " " + v); Check(Text(std::vector(OscState.Record, OscState.Record + want.size())), Text(want)); }},
        {"recordsame", [this](auto&, auto&) { EXPECT_TRUE(Same(OscState.Record, notedState_->Record, 4 * MaxData)) << line_; }},
        {"saved", [this](auto& n, auto&) {  // the file's samples are the noted record's from sample n on
            EXPECT_TRUE(Same(OscState.FileData, notedState_->Record + std::stoi(n), 4 * OscState.LoadedLength)) << line_; }},
        {"samples", [this](auto& n, auto& v) {  // every sample read
            Check(Text(std::vector(OscState.FileData, OscState.FileData + OscState.LoadedLength)), Text(Floats(n + " " + v))); }},
        {"unchanged", [this](auto&, auto&) {  // every setting and the period as noted, bit for bit
            EXPECT_TRUE(Same(&OscSettings, &noted_, sizeof noted_)) << line_;
            EXPECT_TRUE(Same(&OscState.SamplePeriod, &notedState_->SamplePeriod, 4)) << line_; }},
        {"kept", [this](auto&, auto&) {  // the record read before, its times and the settings, as noted
            const OscStateRecord& s = *notedState_;
            EXPECT_TRUE(Same(&OscSettings, &noted_, sizeof noted_)) << line_;
            Check(Text(std::vector{OscState.TimeOffset, OscState.SamplePeriod}), Text(std::vector{s.TimeOffset, s.SamplePeriod}));
            EXPECT_TRUE(OscState.LoadedLength == s.LoadedLength && Same(OscState.FileData, s.FileData, 4 * MaxData)) << line_; }},
        {"sound", [this](auto&, auto&) {  // what every drawing must leave
            const OscSettingsRecord& o = OscSettings;
            EXPECT_TRUE(0 <= o.Data_S && o.Data_S <= o.Data_E && o.Data_E < o.Num_Data) << line_;
            EXPECT_TRUE(std::all_of(OscState.Record, OscState.Record + o.Num_Data, [](float v) { return std::isfinite(v); })) << line_;
            EXPECT_TRUE(std::isfinite(OscState.ViewMin) && std::isfinite(OscState.ViewMax)) << line_; }}};
    // clang-format on

    // One line; false when it ends the dialog of a Settings command.
    bool Step(const std::string& line) {
        line_ = line;
        std::istringstream in(line);
        std::string verb, name, value;
        in >> verb >> name;
        if (in.peek() == ' ') in.get();
        std::getline(in, value);
        if (verb == "ok" || verb == "cancel") pressedOk_ = verb == "ok";
        if (verb == "ok" || verb == "cancel") return false;
        if (verb.empty() || verb[0] == '#') return true;
        EXPECT_TRUE(Verbs.count(verb)) << "no such step: " << line;
        if (Verbs.count(verb)) Verbs.at(verb)(name, Unescaped(value));
        return true;
    }

    WatchedDialogs dialogs;
    test::FakeControls dialog;
    SettingsDialog logic{dialog};
    int32_t runs = 0;
    std::ifstream script_;
    std::string line_;
    bool pressedOk_ = false;
    int32_t read_ = -1;
    OscSettingsRecord noted_;
    std::unique_ptr<OscStateRecord> notedState_ = std::make_unique<OscStateRecord>();
};

TEST_P(AppScript, Runs) {
    script_.open(std::string(KORVEL_TEST_DATA_DIR) + "/" + GetParam() + ".txt");
    ASSERT_TRUE(script_.is_open());
    for (std::string line; std::getline(script_, line) && !HasFatalFailure();)
        Step(line);
}

std::vector<std::string> Scripts(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(KORVEL_TEST_DATA_DIR) + "/" + folder)) {
        if (entry.path().extension() == ".txt")
            names.push_back(folder + "/" + entry.path().stem().string());
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

}  // namespace
}  // namespace korvel
