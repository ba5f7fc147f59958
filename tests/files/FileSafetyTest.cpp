// Files that are not what they seem: pipes, devices, endless and huge files
// must neither hold the program up nor be taken for data; saving must write
// what the user meant (through links, into every hard link), refuse a file
// the user made read-only, keep permissions but no setuid bit, honour the
// umask, and leave no temporary file behind, not even one a killed save left.
// An alarm turns a hang into a failure instead of a test that never ends.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <thread>

#include "app/StartUp.h"
#include "files/CompanionFile.h"
#include "files/ConfigFile.h"
#include "files/DataFileReader.h"
#include "files/DataFileState.h"
#include "files/DataFileWriter.h"
#include "files/FileReplace.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "support/CoreTest.h"

namespace korvel {
namespace {

namespace fs = std::filesystem;

class FileSafetyTest : public test::CoreTest {
  protected:
    void SetUp() override {
        CoreTest::SetUp();
        alarm(60);
    }
    void TearDown() override {
        alarm(0);
        CoreTest::TearDown();
    }
    std::string Fifo(const std::string& name) {
        const std::string path = TempDir() + "/" + name;
        fs::create_directories(fs::path(path).parent_path());
        EXPECT_EQ(mkfifo(path.c_str(), 0600), 0);
        return path;
    }
    DataFileRead Read(const std::string& path, int32_t mode = DataFileDetect) {
        EXPECT_TRUE(SetDataFileName(path.c_str()));
        return ReadDataFile(mode);
    }
    static mode_t Mode(const std::string& path) {
        struct stat info {};
        stat(path.c_str(), &info);
        return info.st_mode & 07777;
    }
    std::string Ini() { return ConfigFilePath(); }
    // A record of count samples 0, 1, 2, ... written by Save.
    std::string Saved(const std::string& name, int32_t count, int32_t format = SaveText) {
        for (int32_t i = 0; i < count; ++i)
            OscState.Record[i] = static_cast<float>(i);
        OscSettings.Num_Data = count;
        const std::string path = TempDir() + "/" + name;
        EXPECT_EQ(WriteRecordFile(path.c_str(), format).result, DataFileWritten);
        return path;
    }
};

TEST_F(FileSafetyTest, PipesAndDevicesAreRefusedWithoutWaiting) {
    const std::string fifo = Fifo("fifo.ktf");
    DataFileRead read = Read(fifo);
    EXPECT_EQ(read.problem, ReadProblem::File);
    EXPECT_EQ(read.file.problem, FileProblem::NotRegularFile);
    EXPECT_EQ(DataFileReadText(read, fifo.c_str(), 0),
              "it is a pipe, a device or a socket, not a regular file");
    EXPECT_EQ(Read("/dev/zero").file.problem, FileProblem::NotRegularFile);
    EXPECT_EQ(Read(TempDir()).file.problem, FileProblem::Folder);
    // The command line reads a pipe; one nobody writes to is empty at once.
    DataFiles.Inputs = InputKinds::RegularFilesOrPipes;
    read = Read(fifo);
    EXPECT_EQ(read.problem, ReadProblem::TooShort);
    EXPECT_EQ(Read(fifo, DataFileText).problem, ReadProblem::NoSamples);
    EXPECT_EQ(Read("/dev/zero").file.problem, FileProblem::NotRegularFile);

    // korvel.ini as a pipe, or a link to an endless device: the defaults, and why.
    fs::create_directories(fs::path(Ini()).parent_path());
    fs::create_symlink("/dev/zero", Ini());
    OscSettings.Grid = 1;
    EXPECT_EQ(LoadConfig().problem, FileProblem::NotRegularFile);
    EXPECT_EQ(OscSettings.Grid, 0);
    fs::remove(Ini());
    Fifo("config/korvel/korvel.ini");
    EXPECT_EQ(StartUp().problem, FileProblem::NotRegularFile);
    SetUpDevice();  // the window tells, before the notice
    ASSERT_EQ(ports.dialogs.messages.size(), 1u);
    EXPECT_EQ(ports.dialogs.messages[0].text,
              "The settings file " + Ini() +
                  " was not read (it is a pipe, a device or a socket, not a regular file): the "
                  "default settings are used.");
    // Saving does not replace the pipe with a file.
    EXPECT_EQ(SaveConfig().problem, FileProblem::NotRegularFile);
    EXPECT_TRUE(fs::is_fifo(Ini()));

    // A companion file that is a pipe: the record is read, the pipe is not.
    DataFiles.Inputs = InputKinds::RegularFiles;
    const std::string data = Saved("rec.ktf", 4);
    fs::remove(TempDir() + "/rec.cf");
    Fifo("rec.cf");
    read = Read(data);
    ASSERT_TRUE(read);
    EXPECT_EQ(OscState.LoadedLength, 4);
    EXPECT_EQ(read.companion.problem, FileProblem::NotRegularFile);
    EXPECT_EQ(DataFileReadText(read, data.c_str(), 0),
              "The record is shown, but its settings file " + TempDir() +
                  "/rec.cf was not read: it is a pipe, a device or a socket, not a regular file");
    // Nor is a pipe ever a place to save to.
    const DataFileWrite write = WriteRecordFile(data.c_str(), SaveText);
    EXPECT_EQ(write.result, DataFileNotWritten);
    EXPECT_EQ(write.failedPath, TempDir() + "/rec.cf");
}

TEST_F(FileSafetyTest, HugeSettingsFilesGiveTheirFirstRecordsOnly) {
    // 2 GB with nothing on disk: record 24 (Grid = 1) first, then zeros.
    const std::string record("\x18\0\0\0\x01\0\0\0", 8);
    WriteFile("config/korvel/korvel.ini", record);
    ASSERT_EQ(truncate(Ini().c_str(), 2LL << 30), 0);
    EXPECT_EQ(LoadConfig().problem, FileProblem::TooLarge);
    EXPECT_EQ(OscSettings.Grid, 1);
    // 64 records exactly is a file this program may read whole.
    ASSERT_EQ(truncate(Ini().c_str(), ConfigReadLimit), 0);
    EXPECT_TRUE(LoadConfig());

    // A companion file: its whole lines within the limit count; the cut one does not.
    const std::string data = Saved("big.ktf", 3);
    std::string lines = "Grid = 1\n";
    lines.append(CompanionReadLimit - lines.size() - 5, '#');
    lines += "\nLabels_X = 7\n";
    WriteFile("big.cf", lines);
    OscSettings.Grid = 0;
    DataFileRead read = Read(data);
    ASSERT_TRUE(read);
    EXPECT_EQ(read.companion.problem, FileProblem::TooLarge);
    EXPECT_EQ(OscSettings.Grid, 1);
    EXPECT_NE(OscSettings.Labels_X, 7);
    ASSERT_EQ(truncate((TempDir() + "/big.cf").c_str(), 2LL << 30), 0);
    EXPECT_EQ(Read(data).companion.problem, FileProblem::TooLarge);
}

// What a pipe brings is read once, from its first byte: a whole record, text
// or binary, with its own first time.
TEST_F(FileSafetyTest, APipeIsReadOnceFromItsFirstByte) {
    OscState.TimeOffset = 0.0f;
    OscState.SamplePeriod = 0.0125f;
    for (const int32_t format : {SaveText, SaveBinary}) {
        const std::string bytes = ReadFile(Saved("whole.k", MaxData, format));
        int ends[2];
        ASSERT_EQ(pipe(ends), 0);
        std::thread writer([&] {
            size_t at = 0;
            while (at < bytes.size()) {
                const ssize_t step = write(ends[1], bytes.data() + at, bytes.size() - at);
                if (step <= 0) break;
                at += static_cast<size_t>(step);
            }
            close(ends[1]);
        });
        DataFiles.Inputs = InputKinds::RegularFilesOrPipes;
        OscState.TimeOffset = 99.0f;
        const DataFileRead read = Read("/dev/fd/" + std::to_string(ends[0]));
        writer.join();
        close(ends[0]);
        ASSERT_TRUE(read) << format;
        EXPECT_EQ(read.kind, format == SaveText ? BinaryKind::None : BinaryKind::Floats);
        EXPECT_EQ(OscState.LoadedLength, MaxData);
        EXPECT_EQ(OscState.TimeOffset, 0.0f);
        EXPECT_EQ(OscState.FileData[MaxData - 1], static_cast<float>(MaxData - 1));
    }
}

TEST_F(FileSafetyTest, SavingWritesWhatTheUserMeant) {
    // A korvel.ini linked from a folder of dotfiles stays a link, and the
    // file it points to is the one written.
    const std::string dotfile = WriteFile("dotfiles/korvel.ini", "");
    fs::create_directories(fs::path(Ini()).parent_path());
    fs::create_symlink("../../dotfiles/korvel.ini", Ini());
    ASSERT_TRUE(SaveConfig());
    EXPECT_TRUE(fs::is_symlink(Ini()));
    EXPECT_EQ(fs::file_size(dotfile), 264u);
    // A link to a file not made yet makes it.
    fs::remove(dotfile);
    ASSERT_TRUE(SaveConfig());
    EXPECT_EQ(fs::file_size(dotfile), 264u);

    // Hard links: every name sees the new contents.
    const std::string data = Saved("a.ktf", 5);
    const std::string other = TempDir() + "/b.ktf";
    fs::create_hard_link(data, other);
    const std::string five = ReadFile(data);
    Saved("a.ktf", 7);
    EXPECT_EQ(fs::hard_link_count(data), 2u);
    EXPECT_EQ(ReadFile(other), ReadFile(data));
    EXPECT_NE(ReadFile(other), five);

    // A file made read-only is refused, and said so; nothing else changes.
    chmod(data.c_str(), 0444);
    const std::string seven = ReadFile(data), companion = ReadFile(TempDir() + "/a.cf");
    OscSettings.Grid = 1;
    DataFileWrite write = WriteRecordFile(data.c_str(), SaveText);
    EXPECT_EQ(write.result, DataFileNotWritten);
    EXPECT_EQ(write.status.problem, FileProblem::ReadOnlyFile);
    EXPECT_EQ(FileStatusText(write.status, 1), "файл только для чтения");
    EXPECT_EQ(ReadFile(data), seven);
    EXPECT_EQ(ReadFile(TempDir() + "/a.cf"), companion);
    // Its companion read-only: the pair is refused whole, the data file kept.
    chmod(data.c_str(), 0644);
    chmod((TempDir() + "/a.cf").c_str(), 0444);
    write = WriteRecordFile(data.c_str(), SaveBinary);
    EXPECT_EQ(write.result, DataFileNotWritten);
    EXPECT_EQ(write.failedPath, TempDir() + "/a.cf");
    EXPECT_EQ(ReadFile(data), seven);

    // Permissions: a new file after the umask, a replaced one keeps its own
    // bits but never setuid, setgid or sticky; its owner stays.
    const mode_t before = umask(077);
    Saved("private.ktf", 2);
    umask(022);
    Saved("open.ktf", 2);
    umask(before);
    EXPECT_EQ(Mode(TempDir() + "/private.ktf"), 0600u);
    EXPECT_EQ(Mode(TempDir() + "/open.ktf"), 0644u);
    chmod((TempDir() + "/open.ktf").c_str(), 06751);
    Saved("open.ktf", 3);
    EXPECT_EQ(Mode(TempDir() + "/open.ktf"), 0751u);
    EXPECT_EQ(ReplaceFileContents(TempDir(), "x").problem, FileProblem::Folder);
}

TEST_F(FileSafetyTest, TemporariesNeverOutliveTheirSave) {
    const std::string folder = TempDir() + "/config/korvel";
    // A save killed long ago left its temporary; another program is saving now.
    const std::string dead = WriteFile("config/korvel/.korvel-2147483646-3.tmp", "old");
    const std::string earlier = WriteFile("config/korvel/korvel.ini.Ab12Cd", "old");
    const std::string alive =
        WriteFile("config/korvel/.korvel-" + std::to_string(getppid()) + "-0.tmp", "now");
    const std::string fresh = WriteFile("config/korvel/.korvel-2147483645-0.tmp", "now");
    const timespec hourAgo[2] = {{time(nullptr) - 3600, 0}, {time(nullptr) - 3600, 0}};
    for (const std::string& path : {dead, earlier, alive})
        utimensat(AT_FDCWD, path.c_str(), hourAgo, 0);
    ASSERT_TRUE(SaveConfig());
    EXPECT_FALSE(fs::exists(dead));
    EXPECT_FALSE(fs::exists(earlier));
    EXPECT_TRUE(fs::exists(alive));  // its program still runs
    EXPECT_TRUE(fs::exists(fresh));  // too young to tell
    fs::remove(alive);
    fs::remove(fresh);
    // A failed save removes its own at once (the full disk of FileLimitsTest
    // shows it); what is left is korvel.ini alone.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 1);
}

}  // namespace
}  // namespace korvel
