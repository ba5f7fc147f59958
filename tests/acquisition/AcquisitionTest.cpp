#include <gtest/gtest.h>

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

// The top bar, writing down every change the engine makes to it, and when
// the engine reports a record ready.
class LoggingBar : public test::FakeControls {
  public:
    std::string log;
    void Note(const std::string& entry) { log += (log.empty() ? "" : ", ") + entry; }
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

  private:
    static std::string Name(int32_t id) {
        return id == top::External ? "external" : id == top::Progress ? "progress" : "accumulator";
    }
};

LoggingBar* Bar = nullptr;

// The rest of a row after one blank: '' stands for an empty text, \n for a line break.
std::string Rest(std::istream& row) {
    std::string rest;
    row.get();
    std::getline(row, rest);
    for (size_t at; (at = rest.find("\\n")) != std::string::npos;)
        rest.replace(at, 2, "\n");
    return rest == "''" ? "" : rest;
}

// What a fake has seen since the last look, named and joined; then forgotten.
template <typename T, typename Name>
std::string Seen(std::vector<T>& seen, Name name) {
    std::string joined;
    for (const T& one : seen)
        joined += (joined.empty() ? "" : " ") + name(one);
    seen.clear();
    return joined;
}

// The head of a buffer as NAME[i] VALUE pairs for test::Fields.
std::istringstream Head(const std::string& buffer, const std::vector<double>& values) {
    std::ostringstream pairs;
    pairs.precision(17);
    for (size_t i = 0; i < values.size(); ++i)
        pairs << buffer << "[" << i << "] " << values[i] << " ";
    return std::istringstream(pairs.str());
}

class Acquisition : public test::CoreTest {
  protected:
    // Runs the scenarios of tests/data/acquisition/<file> (its head says what each line does).
    void Run(const std::string& file, int32_t scenarios) {
        Bar = &bar;
        int32_t started = 0;
        EXPECT_GT(test::ForEachRow("acquisition/" + file,
                                   [&](std::istringstream& row) {
                                       std::string word;
                                       row >> word;
                                       started += word == "scenario";
                                       Step(word, row);
                                   }),
                  0);
        EXPECT_EQ(started, scenarios);
    }

    void Step(const std::string& word, std::istringstream& row) {
        std::string what;
        if (word == "scenario") {
            ResetAllRecords();
            ports = test::FakePorts{};
            ports.Install();
            bar = LoggingBar{};
            Ports.topBar = &bar;
            SetRecordReadyHandler([] { Bar->Note("ready"); });
            OscState.DeviceReady = 1;  // the window has been shown
            OscSettings.Sound = 1;
            bar[top::Accumulator].text = "1";
            ports.bottomBar[bottom::Average].text = "3";
        }
        // Actions.
        if (word == "type")
            row >> what,
                (what == "average" ? ports.bottomBar[bottom::Average] : bar[top::Accumulator])
                    .text = Rest(row);
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
                mv = static_cast<float>(static_cast<int32_t>(test::Draw(state) % 6000001) -
                                        3000000) /
                     10000;
            OscSettings.Num_Data = MaxData;
            OscState.FileView = 1;
        }
        if (word == "codes" || word == "file") {
            const std::vector<double> values = test::Numbers(row);
            std::istringstream head = Head(word == "file" ? "FileData" : "AccBuffer", values);
            test::Fields(head, false);
            OscSettings.Num_Data = static_cast<int32_t>(values.size());
            OscState.FileView = word == "file";
        }
        // What must have happened since the last look.
        if (word == "is") test::Fields(row, true);
        if (word == "returned") EXPECT_EQ(returned, test::Number(row));
        if (word == "log" || word == "logstart") {
            what = Rest(row);
            EXPECT_EQ(word == "log" ? bar.log : bar.log.substr(0, what.size()), what);
            bar.log.clear();
        }
        auto shape = [](Pointer p) {
            return std::string(p == Pointer::Hourglass ? "hourglass" : "arrow");
        };
        if (word == "pointers") EXPECT_EQ(Seen(ports.frame.pointers, shape), Rest(row));
        if (word == "beeps")
            EXPECT_EQ(Seen(ports.frame.beeps, [](int32_t type) { return std::to_string(type); }),
                      Rest(row));
        if (word == "timer") {
            row >> what;
            const int32_t period =
                ports.timers.Period(what == "osc" ? TimerId::Oscillograph : TimerId::ExtTrigger);
            EXPECT_EQ(period < 0 ? "off" : std::to_string(period), Rest(row)) << what;
        }
        if (word == "text") EXPECT_EQ(bar[top::Accumulator].text, Rest(row));
        if (word == "message")
            EXPECT_EQ(ports.dialogs.messages.empty() ? "" : ports.dialogs.messages.back().text,
                      Rest(row));
        if (word == "period") {
            const std::vector<double> rateAndPeriod = test::Numbers(row);
            EXPECT_EQ(OscillographPeriodMs(static_cast<float>(rateAndPeriod.at(0))),
                      rateAndPeriod.at(1));
        }
        if (word == "record" || word == "acc") {
            std::istringstream head =
                Head(word == "acc" ? "AccBuffer" : "Record", test::Numbers(row));
            test::Fields(head, true);
        }
        if (word == "fingerprint") {
            int32_t count = 0;
            std::string hex;
            row >> what >> count >> hex;
            const float* buffer = what == "acc" ? OscState.AccBuffer : OscState.Record;
            EXPECT_EQ(test::BitPrint(buffer, static_cast<size_t>(count)),
                      std::stoull(hex, nullptr, 16))
                << std::hex << test::BitPrint(buffer, static_cast<size_t>(count));
        }
    }

    LoggingBar bar;
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
