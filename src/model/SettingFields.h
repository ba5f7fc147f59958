// Every setting that has a name, in one table: its key, its record number in
// korvel.ini and in the companion file beside a data file, its id for
// GetParam/SetParam, and the field that holds it. The files, the numbered
// parameter access and korvel-cli's config command all read this table.
#pragma once

#include <cstdint>

namespace korvel {

enum class ConfigValueType : int32_t { Integer = 0, Float = 1 };

// The settings stored in the files: records 1..33.
inline constexpr int32_t ConfigEntryCount = 33;

// The id of a setting that GetParam does not reach.
inline constexpr int32_t NoParamId = -1;

struct ConfigEntry {
    int32_t index = 0;            // record 1..33; 0: not stored in the files
    int32_t* intField = nullptr;  // the field of an Integer entry
    float* floatField = nullptr;  // the field of a Float entry
    const char* key = "";
    ConfigValueType type = ConfigValueType::Integer;
    int32_t paramId = NoParamId;  // GetParam's id (ParamId), or NoParamId

    // The field's 32 bits, whatever its type.
    void* field() const {
        return type == ConfigValueType::Float ? static_cast<void*>(floatField)
                                              : static_cast<void*>(intField);
    }
};

// The row of record 1..33; any other index gives index 0, no field, key "".
ConfigEntry GetConfigEntry(int32_t index);

// The card's base address is written and read in hexadecimal ("%x").
bool IsHexadecimal(const ConfigEntry& entry);

// The row of GetParam's id; an unknown id gives paramId NoParamId, no field.
ConfigEntry SettingOfParam(uint32_t id);

}  // namespace korvel
