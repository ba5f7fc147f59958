#include "acquisition/sigrok/SigrokDeviceInfo.h"

#include <glib.h>

#include <algorithm>
#include <cctype>
#include <libsigrokcxx/libsigrokcxx.hpp>

#include "acquisition/sigrok/SampleRateSeries.h"

namespace korvel {

namespace {

bool Answers(const sigrok::HardwareDevice& device, const sigrok::ConfigKey* key,
             const sigrok::Capability* capability) {
    try {
        return device.config_check(key, capability);
    } catch (const sigrok::Error&) {
        return false;
    }
}

std::vector<uint64_t> Uint64Array(GVariant* array) {
    std::vector<uint64_t> values;
    if (array == nullptr || !g_variant_is_of_type(array, G_VARIANT_TYPE("at"))) return values;
    gsize count = 0;
    const auto* data =
        static_cast<const guint64*>(g_variant_get_fixed_array(array, &count, sizeof(guint64)));
    values.assign(data, data + count);
    return values;
}

// The device's sample-rate list: each rate, or a range with a step.
struct RateList {
    std::vector<uint64_t> each;
    std::vector<uint64_t> range;  // lowest, highest, step
};

// The list is a dictionary holding either "samplerates" (each rate) or
// "samplerate-steps" (lowest, highest, step).
RateList ReadRateList(sigrok::HardwareDevice& device) {
    RateList rates;
    if (!Answers(device, sigrok::ConfigKey::SAMPLERATE, sigrok::Capability::LIST)) return rates;
    try {
        Glib::VariantContainerBase container = device.config_list(sigrok::ConfigKey::SAMPLERATE);
        GVariant* list = container.gobj();
        if (list == nullptr) return rates;
        if (g_variant_is_of_type(list, G_VARIANT_TYPE("at"))) {
            rates.each = Uint64Array(list);
        } else if (g_variant_is_of_type(list, G_VARIANT_TYPE("a{sv}"))) {
            if (GVariant* each =
                    g_variant_lookup_value(list, "samplerates", G_VARIANT_TYPE("at"))) {
                rates.each = Uint64Array(each);
                g_variant_unref(each);
            } else if (GVariant* steps =
                           g_variant_lookup_value(list, "samplerate-steps", G_VARIANT_TYPE("at"))) {
                rates.range = Uint64Array(steps);
                g_variant_unref(steps);
                if (rates.range.size() != 3) rates.range.clear();
            }
        }
    } catch (const sigrok::Error&) {
    }
    return rates;
}

std::vector<std::string> TriggerSources(sigrok::HardwareDevice& device) {
    std::vector<std::string> sources;
    if (!Answers(device, sigrok::ConfigKey::TRIGGER_SOURCE, sigrok::Capability::LIST))
        return sources;
    try {
        Glib::VariantContainerBase list = device.config_list(sigrok::ConfigKey::TRIGGER_SOURCE);
        GVariant* array = list.gobj();
        if (array == nullptr || !g_variant_is_of_type(array, G_VARIANT_TYPE("as"))) return sources;
        gsize count = 0;
        const gchar** names = g_variant_get_strv(array, &count);
        for (gsize i = 0; i < count; ++i)
            sources.emplace_back(names[i]);
        g_free(names);
    } catch (const sigrok::Error&) {
    }
    return sources;
}

}  // namespace

std::vector<uint64_t> SigrokSampleRates(sigrok::HardwareDevice& device) {
    const RateList list = ReadRateList(device);
    std::vector<uint64_t> rates =
        list.range.empty() ? list.each
                           : SampleRateSeries(list.range[0], list.range[1], list.range[2]);
    std::sort(rates.begin(), rates.end());
    rates.erase(std::unique(rates.begin(), rates.end()), rates.end());
    rates.erase(std::remove(rates.begin(), rates.end(), uint64_t{0}), rates.end());
    return rates;
}

bool SigrokOffersRate(sigrok::HardwareDevice& device, uint64_t rateHz) {
    const RateList list = ReadRateList(device);
    if (!list.range.empty()) {
        const uint64_t lowest = list.range[0], highest = list.range[1], step = list.range[2];
        return rateHz >= lowest && rateHz <= highest &&
               (step == 0 || (rateHz - lowest) % step == 0);
    }
    if (list.each.empty()) return true;
    return std::find(list.each.begin(), list.each.end(), rateHz) != list.each.end();
}

uint64_t SigrokSampleRate(sigrok::HardwareDevice& device) {
    if (!Answers(device, sigrok::ConfigKey::SAMPLERATE, sigrok::Capability::GET)) return 0;
    try {
        Glib::VariantBase value = device.config_get(sigrok::ConfigKey::SAMPLERATE);
        GVariant* rate = value.gobj();
        if (rate == nullptr || !g_variant_is_of_type(rate, G_VARIANT_TYPE_UINT64)) return 0;
        return g_variant_get_uint64(rate);
    } catch (const sigrok::Error&) {
        return 0;
    }
}

std::string SigrokExternalTriggerSource(sigrok::HardwareDevice& device) {
    for (const std::string& source : TriggerSources(device)) {
        std::string upper = source;
        for (char& c : upper)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (upper.find("EXT") != std::string::npos) return source;
    }
    return "";
}

std::string SigrokTriggerSource(sigrok::HardwareDevice& device) {
    if (!Answers(device, sigrok::ConfigKey::TRIGGER_SOURCE, sigrok::Capability::GET)) return "";
    try {
        Glib::VariantBase value = device.config_get(sigrok::ConfigKey::TRIGGER_SOURCE);
        GVariant* source = value.gobj();
        if (source == nullptr || !g_variant_is_of_type(source, G_VARIANT_TYPE_STRING)) return "";
        return g_variant_get_string(source, nullptr);
    } catch (const sigrok::Error&) {
        return "";
    }
}

InstrumentDevice DescribeSigrokDevice(sigrok::HardwareDevice& device) {
    InstrumentDevice described;
    described.driver = device.driver()->name();
    for (const std::string& part : {device.vendor(), device.model(), device.version()}) {
        if (part.empty()) continue;
        if (!described.model.empty()) described.model += ' ';
        described.model += part;
    }
    described.connection = device.connection_id();
    for (const auto& channel : device.channels())
        if (channel->type() == sigrok::ChannelType::ANALOG)
            described.channels.push_back(channel->name());
    described.sampleRatesHz = SigrokSampleRates(device);
    described.externalTrigger = !SigrokExternalTriggerSource(device).empty();
    return described;
}

}  // namespace korvel
