// Text for the pictures of the command-line companion: a Qt application on
// the offscreen platform (no display needed) and the program's Qt text
// engine, so labels come out in the very pixels the window draws.
#pragma once

#include <memory>
#include <string>

#include "canvas/Canvas.h"
#include "files/FileStatus.h"

class QGuiApplication;

namespace korvel::cli {

class OffscreenText {
  public:
    // Makes the application (unless one exists, as in a test) and installs the
    // text engine. The C library's number formats stay those of the C locale.
    OffscreenText();
    ~OffscreenText();

  private:
    std::unique_ptr<QGuiApplication> app_;
};

// Writes rows top .. top + height - 1 of the canvas to path as a PNG picture,
// as every file of the program is written: whole or not at all
// (ReplaceFileContents), under the very bytes of path.
FileStatus SavePng(const Canvas& canvas, int32_t top, int32_t height, const std::string& path);

}  // namespace korvel::cli
