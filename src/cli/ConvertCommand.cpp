// convert: a data file into the other form (or the same), sample for sample.
#include <algorithm>
#include <string>

#include "app/StartUp.h"
#include "cli/CliCommands.h"
#include "cli/CliSession.h"
#include "files/DataFileWriter.h"
#include "model/OscSettings.h"
#include "model/OscState.h"

namespace korvel::cli {

namespace {

constexpr const char* ConvertHelp =
    "Usage: korvel-cli convert IN OUT [--channel NAME]\n"
    "\n"
    "Reads the data file IN (told apart by its first bytes: text or binary, or\n"
    "another tool's sigrok session, WAV or CSV file) and writes its samples to OUT\n"
    "in the form OUT's name asks for: .ktf text, .kbf binary (32-bit floats), or\n"
    ".sr, .csv, .wav. Between this program's own forms every value, the time step\n"
    "and the first time are kept exactly, and OUT's companion settings file is\n"
    "written too, with the saved settings as IN's companion file (if any) changed\n"
    "them. --channel picks the analog channel of a file with several (default: its\n"
    "first).\n";

}  // namespace

int RunConvert(Arguments& args) {
    std::string in;
    std::string out;
    std::string word;
    while (args.Next(word)) {
        if (!args.IsOption(word)) {
            if (!out.empty()) UsageError("'" + word + "' is one file too many: give IN and OUT");
            (in.empty() ? in : out) = word;
        } else if (TakeDataFileWord(args, word, in)) {
            continue;
        } else if (word == "--help") {
            WriteOut(ConvertHelp);
            return 0;
        } else {
            UsageError("unknown option '" + word + "'");
        }
    }
    if (out.empty()) UsageError("give the file to read (IN) and the file to write (OUT)");
    const int32_t format = FormatOfName(out);

    WarnOfConfig(StartUp());
    ReadRecord(in);
    // The samples as the file holds them: the writer takes the shown record,
    // and showing would smooth them and subtract the level of zero.
    const int32_t count = OscState.LoadedLength;
    std::copy(OscState.FileData, OscState.FileData + count, OscState.Record);
    OscSettings.Num_Data = count;
    WriteRecordOrFail(out, format);
    return 0;
}

}  // namespace korvel::cli
