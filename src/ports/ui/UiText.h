// The program's texts as Qt strings.
#pragma once

#include <QString>

#include "model/Texts.h"

namespace korvel::ui {

inline QString UiText(TextId id) {
    return QString::fromUtf8(Text(id));
}

}  // namespace korvel::ui
