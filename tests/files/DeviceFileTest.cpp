// The source between runs: the text as --device and device.conf write it.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "files/DeviceFile.h"
#include "support/CoreTest.h"

namespace korvel {
namespace {

TEST(DeviceSpec, ReadsBackAsWrittenOrSaysWhatIsWrong) {
    // Text as typed, then as written back ("!" and the start of the error when refused).
    const std::pair<const char*, const char*> cases[] = {
        {"", "simulated"},
        {" simulated\n", "simulated"},
        {"demo", "demo"},
        {"demo:channel=A0:samplerate=1M", "demo:channel=A0:samplerate=1M"},
        {"rigol-ds:conn=tcp-raw/192.0.2.1/5555", "rigol-ds:conn=tcp-raw/192.0.2.1/5555"},
        {"demo:samplerate=250 kHz", "demo:samplerate=250k"},
        {"demo:samplerate=2.5M", "demo:samplerate=2500k"},
        {"demo:samplerate=44100Hz", "demo:samplerate=44100"},
        {"demo:samplerate=1G", "demo:samplerate=1G"},
        {"demo:samplerate=1000000000000", "demo:samplerate=1000G"},
        {"demo:samplerate=0", "!samplerate takes a rate"},
        {"demo:samplerate=1.5", "!samplerate takes a rate"},
        {"demo:samplerate=-5k", "!samplerate takes a rate"},
        {"demo:samplerate=1e20", "!samplerate takes a rate"},
        {"demo:samplerate=k", "!samplerate takes a rate"},
        {":conn=x", "!a device is named by its driver first"},
        {"demo:channel", "!'channel' is no KEY=VALUE option"},
        {"demo:channel=", "!'channel=' is no KEY=VALUE option"},
        {"demo:colour=red", "!a device takes conn, channel and samplerate, not 'colour'"},
    };
    for (const auto& [typed, wanted] : cases) {
        InstrumentChoice choice;
        std::string error;
        const bool parsed = ParseDeviceChoice(typed, choice, error);
        const std::string got = parsed ? DeviceChoiceText(choice) : "!" + error;
        EXPECT_EQ(got.substr(0, std::string(wanted).size()), wanted) << typed;
        EXPECT_EQ(parsed, wanted[0] != '!') << typed;
    }
}

class DeviceFile : public test::CoreTest {};

TEST_F(DeviceFile, KeepsTheChoiceBesideKorvelIniAndForgivesADamagedOne) {
    EXPECT_TRUE(LoadDeviceChoice().IsSimulated());  // none yet
    ASSERT_TRUE(SaveDeviceChoice({"demo", "", "A1", 1000}));
    EXPECT_EQ(ReadFile(TempDir() + "/config/korvel/device.conf"),
              "demo:channel=A1:samplerate=1k\n");
    const InstrumentChoice back = LoadDeviceChoice();
    EXPECT_EQ(back.driver, "demo");
    EXPECT_EQ(back.channel, "A1");
    EXPECT_EQ(back.sampleRateHz, 1000u);
    for (const std::string& damaged : {std::string("demo:channel\n"), std::string(5000, 'x')}) {
        WriteFile("config/korvel/device.conf", damaged);
        EXPECT_TRUE(LoadDeviceChoice().IsSimulated()) << damaged.substr(0, 20);
    }
}

}  // namespace
}  // namespace korvel
