#include "files/sigrok/ExactMillivolts.h"

#include <zip.h>

#include <bit>
#include <cstdlib>
#include <cstring>

#include "files/sigrok/VoltScale.h"

namespace korvel {

namespace {

std::string EntryName(const std::string& channel) {
    return "korvel/" + channel + ".mv";
}

void* Copy(const std::string& bytes) {
    void* copy = std::malloc(bytes.size());
    if (copy != nullptr) std::memcpy(copy, bytes.data(), bytes.size());
    return copy;
}

}  // namespace

bool AddExactMillivolts(std::string& bytes, const std::string& channel, const float* mv,
                        int32_t count) {
    zip_error_t error;
    zip_error_init(&error);
    // libzip keeps, and in the end frees, buffers of its own: copies.
    zip_source_t* archive = zip_source_buffer_create(Copy(bytes), bytes.size(), 1, &error);
    if (archive == nullptr) return false;
    zip_t* zip = zip_open_from_source(archive, 0, &error);
    if (zip == nullptr) {
        zip_source_free(archive);
        return false;
    }
    zip_source_keep(archive);
    std::string samples(static_cast<size_t>(count) * 4, '\0');
    for (int32_t i = 0; i < count; ++i) {
        const uint32_t bits = std::bit_cast<uint32_t>(mv[i]);
        for (int k = 0; k < 4; ++k)
            samples[static_cast<size_t>(i) * 4 + static_cast<size_t>(k)] =
                static_cast<char>(bits >> (8 * k));
    }
    zip_source_t* entry = zip_source_buffer(zip, Copy(samples), samples.size(), 1);
    const bool added = entry != nullptr &&
                       zip_file_add(zip, EntryName(channel).c_str(), entry, ZIP_FL_OVERWRITE) >= 0;
    if (!added) zip_source_free(entry);
    if (zip_close(zip) != 0) {
        zip_discard(zip);
        zip_source_free(archive);
        return false;
    }
    // The archive as changed, read back out of its buffer.
    std::string changed;
    zip_stat_t stat;
    if (added && zip_source_stat(archive, &stat) == 0 && (stat.valid & ZIP_STAT_SIZE) != 0 &&
        zip_source_open(archive) == 0) {
        changed.resize(stat.size);
        const zip_int64_t got = zip_source_read(archive, changed.data(), changed.size());
        zip_source_close(archive);
        if (got != static_cast<zip_int64_t>(changed.size())) changed.clear();
    }
    zip_source_free(archive);
    if (changed.empty()) return false;
    bytes = std::move(changed);
    return true;
}

void TakeExactMillivolts(const std::string& path, const std::string& channel,
                         std::vector<float>& mv) {
    int error = 0;
    zip_t* zip = zip_open(path.c_str(), ZIP_RDONLY, &error);
    if (zip == nullptr) return;
    zip_stat_t stat;
    const std::string name = EntryName(channel);
    if (zip_stat(zip, name.c_str(), 0, &stat) == 0 && (stat.valid & ZIP_STAT_SIZE) != 0 &&
        stat.size >= mv.size() * 4) {
        if (zip_file_t* entry = zip_fopen(zip, name.c_str(), 0)) {
            std::string samples(mv.size() * 4, '\0');
            const bool whole = zip_fread(entry, samples.data(), samples.size()) ==
                               static_cast<zip_int64_t>(samples.size());
            zip_fclose(entry);
            std::vector<float> exact(mv.size());
            bool agree = whole;
            for (size_t i = 0; agree && i < mv.size(); ++i) {
                uint32_t bits = 0;
                for (int k = 0; k < 4; ++k)
                    bits |= static_cast<uint32_t>(static_cast<unsigned char>(samples[i * 4 + k]))
                            << (8 * k);
                exact[i] = std::bit_cast<float>(bits);
                const float again = MillivoltsOfVolts(VoltsOfMillivolts(exact[i]));
                agree = std::memcmp(&again, &mv[i], sizeof again) == 0;
            }
            if (agree) mv = std::move(exact);
        }
    }
    zip_close(zip);
}

}  // namespace korvel
