// Base of every core test: every record as at program start, the ports pointed
// at fakes, and a private configuration folder so no test touches the user's.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "support/FakePorts.h"

namespace korvel::test {

class CoreTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // A fresh folder for this test, removed afterwards; XDG_CONFIG_HOME points into it.
    const std::string& TempDir() const { return tempDir_; }
    // Writes bytes into a file below TempDir() and returns its path.
    std::string WriteFile(const std::string& name, const std::string& bytes) const;
    std::string ReadFile(const std::string& path) const;

    FakePorts ports;

  private:
    std::string tempDir_;
};

}  // namespace korvel::test
