// Writes the fuzz targets' seed files with the program's own writers: data
// files as Save and Win-save write them, their companion files, and
// korvel.ini as "Save Settings" writes it. Usage: korvel_fuzz_seeds FOLDER;
// one subfolder per target is (re)filled.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/ResetAll.h"
#include "files/ConfigFile.h"
#include "files/DataFileWriter.h"
#include "model/OscSettings.h"
#include "model/OscState.h"

namespace fs = std::filesystem;
using namespace korvel;

namespace {

fs::path Out;

std::string Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Put(const char* target, const std::string& name, const std::string& bytes) {
    fs::create_directories(Out / target);
    std::ofstream(Out / target / name, std::ios::binary) << bytes;
}

// A noisy square wave of count samples in mV.
void FillRecord(int32_t count, float periodUs, float firstUs) {
    uint32_t state = 7;
    for (int32_t i = 0; i < count; ++i) {
        state = state * 1103515245u + 12345u;
        const float noise = static_cast<float>((state >> 16) % 200) * 0.1f;
        OscState.Record[i] = (i % 50 < 30 ? -312.5f : 781.25f) + noise;
    }
    OscSettings.Num_Data = count;
    OscState.SamplePeriod = periodUs;
    OscState.TimeOffset = firstUs;
}

// Writes the record in both formats, as Save or as Win-save, and files the
// data files and their companion file under the targets that read them.
void WriteRecord(const std::string& name, bool window) {
    const fs::path folder = Out / "scratch";
    fs::create_directories(folder);
    for (int32_t format : {SaveText, SaveBinary}) {
        const fs::path path = folder / (name + (format == SaveText ? ".ktf" : ".kbf"));
        const int32_t result =
            window ? WriteWindowFile(path.c_str(), format) : WriteRecordFile(path.c_str(), format);
        if (result != DataFileWritten) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            std::exit(1);
        }
        const std::string bytes = Bytes(path);
        Put(format == SaveText ? "text" : "binary", path.filename(), bytes);
        Put("detect", path.filename(), bytes);
    }
    Put("companion", name + ".cf", Bytes(folder / (name + ".cf")));
}

// The writer stores floats; the two code forms of the binary file are the
// same header with Conversion (and ZeroLevel) and one code per sample.
void WriteCodeForms(const std::string& floatFile) {
    const std::string floats = Bytes(Out / "binary" / floatFile);
    const std::string header = floats.substr(4, 8);
    std::string codes;
    for (size_t k = 12; k + 4 <= floats.size(); k += 4) {
        float value;
        std::memcpy(&value, floats.data() + k, 4);
        codes += static_cast<char>(static_cast<int>(std::lround(value / 7.8125f)));
    }
    const float conversion = 7.8125f;
    const float zero = 1.5f;
    std::string kdrf = "KDRF" + header;
    kdrf.append(reinterpret_cast<const char*>(&conversion), 4);
    kdrf.append(reinterpret_cast<const char*>(&zero), 4);
    std::string kdru = "KDRU" + header;
    kdru.append(reinterpret_cast<const char*>(&conversion), 4);
    for (const auto& [name, bytes] : {std::pair{"codes_signed.kbf", kdrf + codes},
                                      std::pair{"codes_unsigned.kbf", kdru + codes}}) {
        Put("binary", name, bytes);
        Put("detect", name, bytes);
    }
}

void WriteConfig(const char* name) {
    if (SaveConfig() != ConfigSave::Written) {
        std::fprintf(stderr, "cannot save the configuration\n");
        std::exit(1);
    }
    Put("config", name, Bytes(ConfigFilePath()));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    Out = argv[1];
    setenv("XDG_CONFIG_HOME", (Out / "scratch").c_str(), 1);
    ResetAllRecords();

    FillRecord(40, 0.0125f, 0.0f);
    WriteRecord("short", false);
    FillRecord(300, 0.025f, -1.5f);
    OscSettings.Data_S = 120;
    OscSettings.Data_E = 180;
    OscSettings.Korv_Freq = 1;
    OscSettings.Labels_X = 4;
    OscSettings.Grid = 1;
    OscSettings.BaseAddr = 0x31C;
    OscSettings.Amplitude = 1000.0f;
    OscSettings.D_min = -400.0f;
    OscSettings.D_max = 900.0f;
    OscSettings.AutoNorm = 0;
    WriteRecord("window", true);
    WriteCodeForms("short.kbf");

    ResetAllRecords();
    WriteConfig("defaults.ini");
    OscSettings.Korv_Freq = 2;
    OscSettings.Acc_Over = 4;
    OscSettings.Av_Over = 11;
    OscSettings.BaseFreq = 40.0f;
    OscSettings.FreqDiv[3] = 16;
    OscSettings.Num_Data = 5000;
    OscSettings.Data_S = 100;
    OscSettings.Data_E = 900;
    OscSettings.Osc_Mode = 1;
    OscSettings.Osc_Freq = 10.0f;
    OscSettings.LFontSize = 0;
    OscSettings.MFontSize = 10;
    WriteConfig("changed.ini");

    fs::remove_all(Out / "scratch");
    return 0;
}
