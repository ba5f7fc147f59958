#include "acquisition/sigrok/SigrokInstrument.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <libsigrokcxx/libsigrokcxx.hpp>
#include <map>

#include "acquisition/sigrok/SigrokDeviceInfo.h"
#include "ports/sigrok/SigrokContext.h"

namespace korvel {

namespace {

constexpr std::chrono::milliseconds kShortestTimeout{3000};
constexpr int32_t kTimeoutRecords = 5;

bool Answers(const sigrok::Configurable& item, const sigrok::ConfigKey* key,
             const sigrok::Capability* capability) {
    try {
        return item.config_check(key, capability);
    } catch (const sigrok::Error&) {
        return false;
    }
}

bool IsOscilloscope(const sigrok::Driver& driver) {
    try {
        return driver.config_keys().count(sigrok::ConfigKey::OSCILLOSCOPE) != 0;
    } catch (const sigrok::Error&) {
        return false;
    }
}

std::string NoDevice(const std::string& driver, const std::string& connection) {
    std::string text = "no " + driver + " device found";
    if (!connection.empty()) text += " at " + connection;
    return text;
}

std::string Refused(uint64_t rateHz) {
    char text[80];
    std::snprintf(text, sizeof text, "the device refuses the sample rate %" PRIu64 " Hz", rateHz);
    return text;
}

// A rate the driver rounds to its own clock (1000000 asked, 999999 set) is the
// rate asked for; one it moves further has been refused.
bool CloseRate(uint64_t asked, uint64_t set) {
    const uint64_t apart = asked > set ? asked - set : set - asked;
    return apart <= asked / 1000;
}

}  // namespace

SigrokInstrument::SigrokInstrument() = default;

SigrokInstrument::~SigrokInstrument() {
    Close();
}

bool SigrokInstrument::Available(std::string& error) {
    if (!context_) context_ = SigrokProcessContext(error);
    return context_ != nullptr;
}

std::vector<InstrumentDevice> SigrokInstrument::Scan(const std::string& driver,
                                                     const std::string& connection,
                                                     std::string& error) {
    std::vector<InstrumentDevice> found;
    if (!Available(error)) return found;
    if (driver.empty() && !connection.empty()) {
        error = "a connection needs the name of its driver";
        return found;
    }
    const auto drivers = context_->drivers();
    std::vector<std::shared_ptr<sigrok::Driver>> asked;
    if (!driver.empty()) {
        const auto named = drivers.find(driver);
        if (named == drivers.end()) {
            error = "no driver called " + driver;
            return found;
        }
        asked.push_back(named->second);
    } else {
        for (const auto& [name, each] : drivers)
            if (name == "demo" || IsOscilloscope(*each)) asked.push_back(each);
    }
    std::map<const sigrok::ConfigKey*, Glib::VariantBase> options;
    if (!connection.empty())
        options[sigrok::ConfigKey::CONN] = Glib::Variant<Glib::ustring>::create(connection);
    for (const auto& each : asked) {
        try {
            for (const auto& device : each->scan(options))
                found.push_back(DescribeSigrokDevice(*device));
        } catch (const std::exception& e) {
            if (error.empty()) error = "the " + each->name() + " driver cannot scan: " + e.what();
        }
    }
    if (found.empty() && error.empty() && !driver.empty()) error = NoDevice(driver, connection);
    return found;
}

bool SigrokInstrument::Open(const InstrumentChoice& choice, InstrumentDevice& device,
                            std::string& error) {
    Close();
    if (!Available(error)) return false;
    const auto drivers = context_->drivers();
    const auto named = drivers.find(choice.driver);
    if (named == drivers.end()) {
        error = "no driver called " + choice.driver;
        return false;
    }
    std::map<const sigrok::ConfigKey*, Glib::VariantBase> options;
    if (!choice.connection.empty())
        options[sigrok::ConfigKey::CONN] = Glib::Variant<Glib::ustring>::create(choice.connection);
    std::vector<std::shared_ptr<sigrok::HardwareDevice>> found;
    try {
        found = named->second->scan(options);
    } catch (const std::exception& e) {
        error = "the " + choice.driver + " driver cannot scan: " + e.what();
        return false;
    }
    if (found.empty()) {
        error = NoDevice(choice.driver, choice.connection);
        return false;
    }
    try {
        found.front()->open();
    } catch (const std::exception& e) {
        error = "the " + choice.driver + " device cannot be opened: " + e.what();
        return false;
    }
    device_ = found.front();

    for (const auto& channel : device_->channels()) {
        if (channel->type() != sigrok::ChannelType::ANALOG) continue;
        if (choice.channel.empty() || channel->name() == choice.channel) {
            channel_ = channel;
            break;
        }
    }
    if (!channel_) {
        error = choice.channel.empty()
                    ? "the device has no analog channel"
                    : "the device has no analog channel called " + choice.channel;
        Close();
        return false;
    }
    // Only the chosen channel is sent, so every analog packet is the
    // record's and no time goes on logic data nobody looks at.
    for (const auto& channel : device_->channels()) {
        const bool wanted = channel == channel_;
        try {
            if (channel->enabled() != wanted) channel->set_enabled(wanted);
        } catch (const std::exception& e) {
            if (wanted) {
                error = "the device cannot enable channel " + channel->name() + ": " + e.what();
                Close();
                return false;
            }
        }
    }

    if (choice.sampleRateHz != 0) {
        bool set = Answers(*device_, sigrok::ConfigKey::SAMPLERATE, sigrok::Capability::SET) &&
                   SigrokOffersRate(*device_, choice.sampleRateHz);
        if (set) {
            try {
                device_->config_set(sigrok::ConfigKey::SAMPLERATE,
                                    Glib::Variant<guint64>::create(choice.sampleRateHz));
            } catch (const std::exception&) {
                set = false;
            }
        }
        const uint64_t inForce = SigrokSampleRate(*device_);
        if (!set || (inForce != 0 && !CloseRate(choice.sampleRateHz, inForce))) {
            error = Refused(choice.sampleRateHz);
            Close();
            return false;
        }
    }
    sampleRateHz_ = SigrokSampleRate(*device_);
    if (sampleRateHz_ == 0) sampleRateHz_ = choice.sampleRateHz;
    externalSource_ = SigrokExternalTriggerSource(*device_);
    ownSource_ = SigrokTriggerSource(*device_);
    if (ownSource_ == externalSource_) ownSource_.clear();

    device = DescribeSigrokDevice(*device_);
    auto& rates = device.sampleRatesHz;
    if (sampleRateHz_ != 0 && std::find(rates.begin(), rates.end(), sampleRateHz_) == rates.end())
        rates.insert(std::upper_bound(rates.begin(), rates.end(), sampleRateHz_), sampleRateHz_);
    device.sampleRateHz = sampleRateHz_;
    return true;
}

void SigrokInstrument::Close() {
    record_.Cancel();
    if (device_) {
        try {
            device_->close();
        } catch (const std::exception&) {
            // A device that has gone cannot be closed; it is let go all the same.
        }
    }
    device_.reset();
    channel_.reset();
    sampleRateHz_ = 0;
    externalSource_.clear();
    ownSource_.clear();
}

std::chrono::milliseconds SigrokInstrument::RecordTimeout(int32_t count) const {
    if (timeoutOverride_.count() > 0) return timeoutOverride_;
    if (sampleRateHz_ == 0) return kShortestTimeout;
    const auto lengthMs =
        static_cast<int64_t>(count) * 1000 * kTimeoutRecords / static_cast<int64_t>(sampleRateHz_);
    return std::max(kShortestTimeout, std::chrono::milliseconds(lengthMs + 1));
}

bool SigrokInstrument::SetTriggerSource(bool trigger, std::string& error) {
    if (trigger && externalSource_.empty()) {
        error = "the device has no trigger input";
        return false;
    }
    const std::string& wanted = trigger ? externalSource_ : ownSource_;
    if (wanted.empty() || SigrokTriggerSource(*device_) == wanted) return true;
    try {
        device_->config_set(sigrok::ConfigKey::TRIGGER_SOURCE,
                            Glib::Variant<Glib::ustring>::create(wanted));
    } catch (const std::exception& e) {
        error = "the device refuses the trigger source " + wanted + ": " + e.what();
        return false;
    }
    return true;
}

bool SigrokInstrument::Start(int32_t count, bool trigger, std::string& error) {
    record_.Cancel();
    if (!device_) {
        error = "no instrument is open";
        return false;
    }
    if (count <= 0) {
        error = "a record needs at least one sample";
        return false;
    }
    if (!SetTriggerSource(trigger, error)) return false;
    // A driver that takes a sample limit ends the record by itself (the demo
    // device would run on for ever, a Hantek 6xxx needs it for each record);
    // one that takes a frame limit sends one frame; the others are stopped
    // once the record is full.
    try {
        if (Answers(*device_, sigrok::ConfigKey::LIMIT_SAMPLES, sigrok::Capability::SET))
            device_->config_set(sigrok::ConfigKey::LIMIT_SAMPLES,
                                Glib::Variant<guint64>::create(static_cast<guint64>(count)));
        else if (Answers(*device_, sigrok::ConfigKey::LIMIT_FRAMES, sigrok::Capability::SET))
            device_->config_set(sigrok::ConfigKey::LIMIT_FRAMES, Glib::Variant<guint64>::create(1));
    } catch (const std::exception& e) {
        char text[96];
        std::snprintf(text, sizeof text, "the device refuses a record of %d samples: ", count);
        error = text + std::string(e.what());
        return false;
    }
    return record_.Start(context_, device_, channel_, count, RecordTimeout(count), error);
}

InstrumentPoll SigrokInstrument::Poll(float* samples, std::string& error) {
    return record_.Poll(samples, error);
}

void SigrokInstrument::Cancel() {
    record_.Cancel();
}

bool SigrokInstrument::SetDemoPattern(const std::string& pattern, double amplitudeV,
                                      std::string& error) {
    if (!device_) {
        error = "no instrument is open";
        return false;
    }
    // The demo device keeps a channel's wave in the group of that channel
    // alone ("A0"); the group of all analog channels has the amplitude only.
    std::shared_ptr<sigrok::ChannelGroup> group;
    for (const auto& [name, each] : device_->channel_groups()) {
        const auto channels = each->channels();
        if (channels.size() == 1 && channels.front() == channel_) group = each;
    }
    if (!group) {
        error = "the device has no settings of channel " + channel_->name() + " alone";
        return false;
    }
    try {
        group->config_set(sigrok::ConfigKey::PATTERN_MODE,
                          Glib::Variant<Glib::ustring>::create(pattern));
    } catch (const std::exception& e) {
        error = "the device refuses the pattern " + pattern + ": " + e.what();
        return false;
    }
    try {
        group->config_set(sigrok::ConfigKey::AMPLITUDE, Glib::Variant<double>::create(amplitudeV));
    } catch (const std::exception& e) {
        char text[80];
        std::snprintf(text, sizeof text, "the device refuses the amplitude %g V: ", amplitudeV);
        error = text + std::string(e.what());
        return false;
    }
    return true;
}

}  // namespace korvel
