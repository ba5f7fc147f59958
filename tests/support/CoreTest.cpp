#include "support/CoreTest.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/ResetAll.h"

namespace korvel::test {

void CoreTest::SetUp() {
    ResetAllRecords();
    std::string pattern = (std::filesystem::temp_directory_path() / "korvel-test-XXXXXX").string();
    tempDir_ = mkdtemp(pattern.data());
    setenv("XDG_CONFIG_HOME", (tempDir_ + "/config").c_str(), 1);
    ports.Install();
}

void CoreTest::TearDown() {
    ResetAllRecords();
    std::error_code error;
    std::filesystem::permissions(tempDir_, std::filesystem::perms::owner_all, error);
    std::filesystem::remove_all(tempDir_, error);
}

std::string CoreTest::WriteFile(const std::string& name, const std::string& bytes) const {
    const std::filesystem::path path = std::filesystem::path(tempDir_) / name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
}

std::string CoreTest::ReadFile(const std::string& path) const {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace korvel::test
