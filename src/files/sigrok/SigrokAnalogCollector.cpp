#include "files/sigrok/SigrokAnalogCollector.h"

#include <algorithm>
#include <libsigrokcxx/libsigrokcxx.hpp>
#include <utility>

#include "files/sigrok/VoltScale.h"

namespace korvel {

namespace {

// libsigrokcxx throws for a unit of 0, which is what a packet without one
// carries.
const sigrok::Unit* UnitOf(const sigrok::Analog& analog) {
    try {
        return analog.unit();
    } catch (const sigrok::Error&) {
        return nullptr;
    }
}

}  // namespace

SigrokAnalogCollector::SigrokAnalogCollector(std::string channel, int32_t maxSamples,
                                             double unknownUnitScale)
    : channel_(std::move(channel)),
      maxSamples_(maxSamples > 0 ? static_cast<size_t>(maxSamples) : 0),
      unknownUnitScale_(unknownUnitScale) {}

void SigrokAnalogCollector::Receive(const std::shared_ptr<sigrok::Packet>& packet) {
    if (!failure_.empty()) return;
    try {
        if (packet->type() == sigrok::PacketType::META) {
            auto meta = std::dynamic_pointer_cast<sigrok::Meta>(packet->payload());
            if (!meta) return;
            for (const auto& [key, value] : meta->config()) {
                if (key != sigrok::ConfigKey::SAMPLERATE) continue;
                sampleRateHz_ =
                    Glib::VariantBase::cast_dynamic<Glib::Variant<guint64>>(value).get();
            }
            return;
        }
        if (packet->type() != sigrok::PacketType::ANALOG) return;
        auto analog = std::dynamic_pointer_cast<sigrok::Analog>(packet->payload());
        if (!analog) return;
        // A packet may carry several channels, frame by frame (a stereo WAV
        // file); ours is one of them.
        const auto channels = analog->channels();
        size_t index = 0;
        while (index < channels.size() && channels[index]->name() != channel_)
            ++index;
        if (index == channels.size()) return;
        const size_t count = analog->num_samples();
        if (count == 0) return;

        double scale = unknownUnitScale_;
        const sigrok::Unit* unit = UnitOf(*analog);
        if (unit == sigrok::Unit::VOLT) {
            scale = 1000.0;
        } else if (unit != nullptr) {
            failure_ = "the file measures " + channel_ + " in " + unit->name() + ", not in volts";
            return;
        }

        total_ += count;
        const size_t kept = samplesMv_.size();
        if (kept >= maxSamples_) return;
        const size_t taken = std::min(count, maxSamples_ - kept);
        // Scale and offset are applied in the conversion; Analog::scale()
        // itself is not to be called: in libsigrokcxx 0.5.2 the object it
        // returns throws from its destructor.
        packet_.resize(count * channels.size());
        analog->get_data_as_float(packet_.data());
        samplesMv_.reserve(kept + taken);
        for (size_t i = 0; i < taken; ++i)
            samplesMv_.push_back(MillivoltsOf(packet_[i * channels.size() + index], scale));
    } catch (const std::exception& e) {
        failure_ = std::string("libsigrok sent a bad packet: ") + e.what();
    }
}

}  // namespace korvel
