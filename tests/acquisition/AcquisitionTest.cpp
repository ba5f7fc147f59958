#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "acquisition/CaptureEngine.h"
#include "acquisition/ProcessRecord.h"
#include "acquisition/SimulatedSource.h"
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
    void SetFace(int32_t, Face face) override {
        Note(face == Face::Wait ? "face wait" : "face start");
    }
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
    void SetPointer(Pointer shape) override {
        Note(shape == Pointer::Hourglass ? "hourglass" : "arrow");
    }
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
    void Run(const std::string& file, int32_t scenarios) {
        int32_t started = 0;
        test::ForEachRow("acquisition/" + file, [&](std::istringstream& row) {
            std::string word;
            row >> word;
            started += word == "scenario";
            Step(word, row);
        });
        EXPECT_EQ(started, scenarios);
    }

    void Step(const std::string& word, std::istringstream& row) {
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
        if (word == "tick") row >> what, what == "osc" ? OscTimerTick() : ExtTimerTick();
        if (word == "set") test::Fields(row, false);
        if (word == "acquire")
            returned = AcquireRecord(static_cast<int32_t>(test::Number(row)), OscState.ExtCount);
        if (word == "poll") returned = PollTrigger(OscState.ExtCount);
        if (word == "setup") returned = DeviceSetup();
        if (word == "process") ProcessRecord();
        if (word == "zero") SetZeroLevel();
        if (word == "decimals") {
            uint32_t state = 3;
            for (float& mv : OscState.FileData)
                mv = (static_cast<int32_t>(test::Draw(state) % 6000001) - 3000000) / 10000.0f;
            OscSettings.Num_Data = MaxData;
            OscState.FileView = 1;
        }
        if (buffers.count(word) != 0) {  // the head of a buffer, set or looked at
            const std::vector<double> values = test::Numbers(row);
            std::ostringstream pairs;
            pairs.precision(17);
            for (size_t i = 0; i < values.size(); ++i)
                pairs << buffers.at(word) << "[" << i << "] " << values[i] << " ";
            std::istringstream head(pairs.str());
            test::Fields(head, word == "acc" || word == "record");
            if (word == "file" || word == "codes")
                OscSettings.Num_Data = static_cast<int32_t>(values.size());
            if (word == "file" || word == "codes") OscState.FileView = word == "file";
        }
        if (word == "is") test::Fields(row, true);
        if (word == "returned") EXPECT_EQ(returned, test::Number(row));
        if (word == "log" || word == "logstart") {
            what = Rest(row);
            EXPECT_EQ(word == "log" ? Log : Log.substr(0, what.size()), what);
            Log.clear();
        }
        if (word == "timer") {
            row >> what;
            const int32_t ms =
                ports.timers.Period(what == "osc" ? TimerId::Oscillograph : TimerId::ExtTrigger);
            EXPECT_EQ(ms < 0 ? "off" : std::to_string(ms), Rest(row)) << what;
        }
        if (word == "text") EXPECT_EQ(bar[top::Accumulator].text, Rest(row));
        if (word == "message") EXPECT_EQ(ports.dialogs.messages.back().text, Rest(row));
        if (word == "period") {
            const std::vector<double> rateAndMs = test::Numbers(row);
            EXPECT_EQ(OscillographPeriodMs(static_cast<float>(rateAndMs.at(0))), rateAndMs.at(1));
        }
        if (word == "fingerprint") {
            int32_t count = 0;
            row >> what >> count;
            const uint64_t bits =
                test::BitPrint(what == "acc" ? OscState.AccBuffer : OscState.Record, count);
            EXPECT_EQ(bits, std::stoull((row >> what, what), nullptr, 16)) << std::hex << bits;
        }
    }

    LoggingBar bar;
    LoggingFrame frame;
    int32_t returned = 0;
};

TEST_F(Acquisition, CaptureEngineScenarios) {
    Run("capture_engine.txt", 13);
}

TEST_F(Acquisition, SimulatedSourceScenarios) {
    Run("simulated_source.txt", 6);
}

TEST_F(Acquisition, ProcessRecordScenarios) {
    Run("process_record.txt", 8);
}

}  // namespace
}  // namespace korvel
