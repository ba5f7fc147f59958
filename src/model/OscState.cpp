#include "model/OscState.h"

#include <algorithm>
#include <iterator>

namespace korvel {

OscStateRecord OscState;

void ResetOscState() {
    const int32_t russian = OscState.Russian;
    static_cast<OscStateFlags&>(OscState) = OscStateFlags{};
    OscState.Russian = russian;
    std::fill(std::begin(OscState.FileData), std::end(OscState.FileData), 0.0f);
    std::fill(std::begin(OscState.AccBuffer), std::end(OscState.AccBuffer), 0.0f);
    std::fill(std::begin(OscState.Record), std::end(OscState.Record), 0.0f);
}

}  // namespace korvel
