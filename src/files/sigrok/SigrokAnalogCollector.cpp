#include "files/sigrok/SigrokAnalogCollector.h"

#include <libsigrok/libsigrok.h>

#include <algorithm>

#include "files/sigrok/VoltScale.h"

namespace korvel {

SigrokAnalogCollector::SigrokAnalogCollector(const sr_channel* channel, int32_t maxSamples,
                                             double unknownUnitScale)
    : channel_(channel),
      maxSamples_(maxSamples > 0 ? static_cast<size_t>(maxSamples) : 0),
      unknownUnitScale_(unknownUnitScale) {}

void SigrokAnalogCollector::Feed(const sr_dev_inst* /*device*/, const sr_datafeed_packet* packet,
                                 void* data) {
    auto* collector = static_cast<SigrokAnalogCollector*>(data);
    if (packet == nullptr || !collector->failure_.empty()) return;
    try {
        collector->Receive(*packet);
    } catch (const std::exception& e) {
        collector->failure_ = std::string("cannot take libsigrok's samples: ") + e.what();
    }
}

void SigrokAnalogCollector::Receive(const sr_datafeed_packet& packet) {
    if (packet.type == SR_DF_META) {
        const auto* meta = static_cast<const sr_datafeed_meta*>(packet.payload);
        for (const GSList* each = meta->config; each != nullptr; each = each->next) {
            const auto* config = static_cast<const sr_config*>(each->data);
            if (config->key == SR_CONF_SAMPLERATE &&
                g_variant_is_of_type(config->data, G_VARIANT_TYPE_UINT64))
                sampleRateHz_ = g_variant_get_uint64(config->data);
        }
        return;
    }
    if (packet.type != SR_DF_ANALOG) return;
    const auto* analog = static_cast<const sr_datafeed_analog*>(packet.payload);
    if (analog->meaning == nullptr || analog->num_samples == 0) return;
    // A packet may carry several channels, frame by frame (a stereo WAV
    // file); ours is one of them.
    const gint index = g_slist_index(analog->meaning->channels, channel_);
    if (index < 0) return;
    const size_t channels = g_slist_length(analog->meaning->channels);
    const size_t count = analog->num_samples;

    double scale = unknownUnitScale_;
    if (analog->meaning->unit == SR_UNIT_VOLT) {
        scale = 1000.0;
    } else if (analog->meaning->unit != 0) {
        char* unit = nullptr;
        sr_analog_unit_to_string(analog, &unit);
        failure_ = std::string("the file measures ") + channel_->name + " in " +
                   (unit != nullptr ? unit : "another unit") + ", not in volts";
        g_free(unit);
        return;
    }

    total_ += count;
    const size_t kept = samplesMv_.size();
    if (kept >= maxSamples_) return;
    const size_t taken = std::min(count, maxSamples_ - kept);
    packet_.resize(count * channels);
    if (sr_analog_to_float(analog, packet_.data()) != SR_OK) {
        failure_ = "libsigrok cannot convert the samples of " + std::string(channel_->name);
        return;
    }
    samplesMv_.reserve(kept + taken);
    for (size_t i = 0; i < taken; ++i)
        samplesMv_.push_back(
            MillivoltsOf(packet_[i * channels + static_cast<size_t>(index)], scale));
}

}  // namespace korvel
