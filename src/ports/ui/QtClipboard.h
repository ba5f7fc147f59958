// The Clipboard port on the desktop's clipboard.
#pragma once

#include "ports/Ports.h"

namespace korvel::ui {

class QtClipboard : public Clipboard {
  public:
    bool SetBitmap(const uint32_t* pixels, int32_t width, int32_t height, int32_t stride,
                   int32_t widthTenthMm, int32_t heightTenthMm) override;
    // The logical resolution of the primary screen, where the plot is shown.
    int32_t DpiX() const override;
    int32_t DpiY() const override;
};

}  // namespace korvel::ui
