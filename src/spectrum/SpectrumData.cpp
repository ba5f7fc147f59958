#include "spectrum/SpectrumData.h"

#include <cstring>
#include <type_traits>

namespace korvel {

SpectrumDataRecord SpectrumData;

void ResetSpectrumData() {
    // Too large for a temporary on the stack; plain data, so zero bytes are zero values.
    static_assert(std::is_trivially_copyable_v<SpectrumDataRecord>);
    std::memset(&SpectrumData, 0, sizeof SpectrumData);
}

}  // namespace korvel
