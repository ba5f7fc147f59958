#include "ports/Exchange.h"

#include <cctype>

namespace korvel {

ForeignFormat ForeignFormatOfName(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return ForeignFormat::None;
    }
    std::string ext = path.substr(dot + 1);
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == "sr") return ForeignFormat::Session;
    if (ext == "csv") return ForeignFormat::Csv;
    if (ext == "wav") return ForeignFormat::Wav;
    return ForeignFormat::None;
}

}  // namespace korvel
