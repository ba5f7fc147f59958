// The 33 persistent settings as a table: index, field, key text and type. It
// drives korvel.ini and the companion settings file beside a data file.
#pragma once

#include <cstdint>

namespace korvel {

enum class ConfigValueType : int32_t { Integer = 0, Float = 1 };

inline constexpr int32_t ConfigEntryCount = 33;

struct ConfigEntry {
    int32_t index = 0;            // 1..33; 0 for "no entry"
    int32_t* intField = nullptr;  // the field of an Integer entry
    float* floatField = nullptr;  // the field of a Float entry
    const char* key = "";
    ConfigValueType type = ConfigValueType::Integer;

    // The field's 32 bits, whatever its type.
    void* field() const {
        return type == ConfigValueType::Float ? static_cast<void*>(floatField)
                                              : static_cast<void*>(intField);
    }
};

// The row of index 1..33; any other index gives index 0, no field, key "".
ConfigEntry GetConfigEntry(int32_t index);

}  // namespace korvel
