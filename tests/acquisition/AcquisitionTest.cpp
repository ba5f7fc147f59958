#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>
#include <map>
#include <numbers>
#include <string>
#include <vector>

#include "acquisition/CaptureEngine.h"
#include "acquisition/ProcessRecord.h"
#include "acquisition/RecordMeasurements.h"
#include "acquisition/SimulatedSource.h"
#include "acquisition/Source.h"
#include "acquisition/TickedCapture.h"
#include "app/ResetAll.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "model/TestTables.h"
#include "ports/ControlIds.h"
#include "support/CoreTest.h"

namespace korvel {
namespace {

// What the engine did, in order: the top bar's changes, the pointer, the
// beeps, and when it reported a record ready.
std::string Log;

void Note(const std::string& entry) {
    Log += (Log.empty() ? "" : ", ") + entry;
}

class LoggingBar : public test::FakeControls {
  public:
    void Show(int32_t id, bool shown) override { Note(Name(id) + (shown ? " shown" : " hidden")); }
    void SetFace(int32_t, Face f) override { Note(f == Face::Wait ? "face wait" : "face start"); }
    void SetProgressRange(int32_t, int32_t lo, int32_t hi) override {
        Note("range " + std::to_string(lo) + " " + std::to_string(hi));
    }
    void SetProgressPos(int32_t, int32_t pos) override { Note("pos " + std::to_string(pos)); }
    void SetText(int32_t id, const char* text) override {
        Note(Name(id) + " " + text);
        FakeControls::SetText(id, text);
    }
    void Repaint() override { Note("repaint"); }
    static std::string Name(int32_t id) {
        return id == top::External ? "external" : id == top::Progress ? "progress" : "accumulator";
    }
};

class LoggingFrame : public test::FakeFrame {
  public:
    void SetPointer(Pointer p) override { Note(p == Pointer::Hourglass ? "hourglass" : "arrow"); }
    void Beep(int32_t type) override { Note("beep " + std::to_string(type)); }
};

// The rest of a row after one blank: '' stands for an empty text, \n for a line break.
std::string Rest(std::istream& row) {
    std::string rest;
    row.get();
    std::getline(row, rest);
    for (size_t at; (at = rest.find("\\n")) != std::string::npos;)
        rest.replace(at, 2, "\n");
    return rest == "''" ? "" : rest;
}

// The scenarios of tests/data/acquisition: each file's head says what its lines do.
class Acquisition : public test::CoreTest {
  protected:
    void Step(const std::string& word, std::istringstream& row) {
        const std::string words =
            " scenario type oscillograph press step tick set acquire poll setup process "
            "zero file codes acc record is returned text message timer period log logstart "
            "fingerprint source device cancel calls ";
        EXPECT_NE(words.find(" " + word + " "), std::string::npos) << "no step " << word;
        const std::map<std::string, std::string> buffers = {{"file", "FileData"},
                                                            {"codes", "AccBuffer"},
                                                            {"acc", "AccBuffer"},
                                                            {"record", "Record"}};
        std::string what;
        if (word == "scenario") {
            ResetAllRecords();
            ports = test::FakePorts{};
            ports.Install();
            bar = LoggingBar{};
            Ports.topBar = &bar;
            Ports.frame = &frame;
            Log.clear();
            SetRecordReadyHandler([] { Note("ready"); });
            OscState.DeviceReady = 1;  // the window has been shown
            OscSettings.Sound = 1;
            bar[top::Accumulator].text = "1";
            ports.bottomBar[bottom::Average].text = "3";
        }
        if (word == "type") {
            row >> what;
            (what == "average" ? ports.bottomBar[bottom::Average] : bar[top::Accumulator]).text =
                Rest(row);
        }
        if (word == "oscillograph") bar[top::Oscillograf].checked = (row >> what, what == "on");
        if (word == "press") row >> what, OscState.ExtStart = what == "external", StartStop();
        if (word == "step") CaptureStep();
        if (word == "tick") {
            row >> what;
            what == "osc" ? OscTimerTick() : what == "device" ? CaptureTick() : ExtTimerTick();
        }
        if (word == "source") {  // DRIVER [CHANNEL [RATE]], or simulated
            InstrumentChoice choice;
            row >> what;
            if (what != "simulated") row >> choice.channel >> choice.sampleRateHz;
            choice.driver = what == "simulated" ? "" : what;
            std::string error;
            returned = UseSource(choice, error);
            if (!error.empty()) ports.dialogs.Message(error.c_str(), nullptr);
        }
        if (word == "device") Instrument(row);
        if (word == "cancel") CancelTickedCapture();
        if (word == "set") test::Fields(row, false);
        if (word == "acquire")
            returned =
                AcquireRecord(static_cast<int32_t>(test::Numbers(row).at(0)), OscState.ExtCount);
        if (word == "poll") returned = PollTrigger(OscState.ExtCount);
        if (word == "setup") returned = DeviceSetup();
        if (word == "process") ProcessRecord();
        if (word == "zero") SetZeroLevel();
        if (buffers.count(word) != 0) {  // the head of a buffer, set or looked at
            const std::vector<double> values = test::Numbers(row);
            std::ostringstream pairs;
            pairs.precision(17);
            for (size_t i = 0; i < values.size(); ++i)
                pairs << buffers.at(word) << "[" << i << "] " << values[i] << " ";
            std::istringstream head(pairs.str());
            test::Fields(head, word == "acc" || word == "record");
            if (word == "file" || word == "codes") {
                OscSettings.Num_Data = static_cast<int32_t>(values.size());
                OscState.FileView = word == "file";
            }
        }
        if (word == "is") test::Fields(row, true);
        // A look that shows as a text.
        std::string seen = "?";
        if (word == "returned") seen = std::to_string(returned);
        if (word == "text") seen = bar[top::Accumulator].text;
        if (word == "message") {
            seen = ports.dialogs.messages.empty() ? "" : ports.dialogs.messages.back().text;
        }
        if (word == "period")
            seen = std::to_string(
                OscillographPeriodMs(std::strtof((row >> what, what).c_str(), nullptr)));
        if (word == "calls") {  // what the instrument was asked
            const test::FakeInstrument& i = ports.instrument;
            seen = "opens " + std::to_string(i.opens) + " starts " + std::to_string(i.starts) +
                   " of " + std::to_string(i.lastCount) + (i.lastTrigger ? " triggered" : "") +
                   " cancels " + std::to_string(i.cancels);
        }
        if (word == "timer") {
            row >> what;
            const int32_t ms = ports.timers.Period(what == "osc"      ? TimerId::Oscillograph
                                                   : what == "device" ? TimerId::CaptureTick
                                                                      : TimerId::ExtTrigger);
            seen = ms < 0 ? "off" : std::to_string(ms);
        }
        if (word == "log" || word == "logstart") std::swap(seen, Log), Log.clear();
        if (seen != "?") {
            what = Rest(row);
            EXPECT_EQ(word == "logstart" ? seen.substr(0, what.size()) : seen, what) << word;
        }
        if (word == "fingerprint") {
            int32_t count = 0;
            row >> what >> count;
            const uint64_t bits =
                test::BitPrint(what == "acc" ? OscState.AccBuffer : OscState.Record, count);
            EXPECT_EQ(bits, std::stoull((row >> what, what), nullptr, 16)) << std::hex << bits;
        }
    }

    // The fake instrument's behaviour: polls N (per record), fail N (the record
    // after N fails), trigger 0|1, samples V ..., openerror|starterror|failerror TEXT.
    void Instrument(std::istringstream& row) {
        test::FakeInstrument& i = ports.instrument;
        std::string what;
        row >> what;
        if (what == "polls") row >> i.pollsPerRecord;
        if (what == "fail") row >> i.failAfterRecords;
        if (what == "trigger") row >> i.device.externalTrigger;
        if (what == "samples") {
            const std::vector<double> v = test::Numbers(row);
            i.samples.assign(v.begin(), v.end());
        }
        if (what == "openerror") i.openError = Rest(row);
        if (what == "starterror") i.startError = Rest(row);
        if (what == "failerror") i.failError = Rest(row);
    }

    LoggingBar bar;
    LoggingFrame frame;
    int32_t returned = 0;
};

TEST_F(Acquisition, ScenariosOfTheEngineTheSourceAndProcessing) {
    for (const auto& [file, scenarios] : {std::pair("capture_engine.txt", 13),
                                          {"simulated_source.txt", 6},
                                          {"process_record.txt", 8},
                                          {"ticked_capture.txt", 8}}) {
        int32_t started = 0;
        test::ForEachRow(std::string("acquisition/") + file, [&](std::istringstream& row) {
            std::string word;
            started += (row >> word, word) == "scenario";
            Step(word, row);
        });
        EXPECT_EQ(started, scenarios);
    }
}

TEST(RecordMeasurements, FiguresOfTheTable) {
    const int32_t rows =
        test::ForEachRow("acquisition/measurements.txt", [](std::istringstream& row) {
            std::string kind;
            row >> kind;
            const std::vector<double> p = test::Numbers(row), taken = test::Numbers(row);
            std::vector<float> v(kind == "values" ? p.size() : static_cast<size_t>(p.at(0)));
            for (size_t i = 0; i < v.size(); ++i) {
                double x = kind == "values"   ? p[i]
                           : kind == "square" ? (i % 1000 < 800 ? p[1] : p[2])
                                              : p[1];
                for (size_t k = 2; kind == "tones" && k + 1 < p.size(); k += 2)
                    x += p[k] * std::sin(2 * std::numbers::pi * p[k + 1] * i);
                v[i] = static_cast<float>(x);
            }
            const RecordMeasurements m = MeasureRecord(v.data(), static_cast<int32_t>(taken.at(0)),
                                                       static_cast<float>(taken.at(1)));
            const std::map<std::string, double> got = {
                {"samples", m.samples},   {"min", m.minimumMv}, {"max", m.maximumMv},
                {"p2p", m.peakToPeakMv},  {"mean", m.meanMv},   {"rms", m.rmsMv},
                {"acrms", m.acRmsMv},     {"line", m.hasLine},  {"bin", m.lineBin},
                {"width", m.binWidthKHz}, {"khz", m.lineKHz},   {"us", m.periodUs}};
            std::string name;
            for (double want = 0; row >> name >> want;)
                EXPECT_NEAR(got.at(name), want, std::abs(want) * 1e-9)
                    << std::setprecision(17) << name << " " << got.at(name);
        });
    EXPECT_EQ(rows, 17);
}

}  // namespace
}  // namespace korvel
