#include "files/sigrok/SigrokSessionRead.h"

#include <libsigrok/libsigrok.h>

#include <cstring>
#include <string>
#include <vector>

#include "files/sigrok/ExactMillivolts.h"
#include "files/sigrok/PrivateMainContext.h"
#include "files/sigrok/SigrokAnalogCollector.h"
#include "files/sigrok/ZipDirectory.h"

namespace korvel {

namespace {

// The loaded session and its devices, which the loader has opened: closed
// and freed on every way out (the session driver frees a device's state
// only when it is closed).
class LoadedSession {
  public:
    explicit LoadedSession(sr_session* session) : session_(session) {
        GSList* list = nullptr;
        if (sr_session_dev_list(session_, &list) == SR_OK) {
            for (GSList* each = list; each != nullptr; each = each->next)
                devices_.push_back(static_cast<sr_dev_inst*>(each->data));
            g_slist_free(list);
        }
    }
    ~LoadedSession() {
        for (sr_dev_inst* device : devices_)
            sr_dev_close(device);
        sr_session_destroy(session_);
    }
    LoadedSession(const LoadedSession&) = delete;
    LoadedSession& operator=(const LoadedSession&) = delete;

    sr_session* Session() const { return session_; }
    const std::vector<sr_dev_inst*>& Devices() const { return devices_; }

  private:
    sr_session* session_;
    std::vector<sr_dev_inst*> devices_;
};

uint64_t DeviceRate(const sr_dev_inst* device) {
    GVariant* value = nullptr;
    if (sr_config_get(sr_dev_inst_driver_get(device), device, nullptr, SR_CONF_SAMPLERATE,
                      &value) != SR_OK ||
        value == nullptr)
        return 0;
    const uint64_t rate =
        g_variant_is_of_type(value, G_VARIANT_TYPE_UINT64) ? g_variant_get_uint64(value) : 0;
    g_variant_unref(value);
    return rate;
}

}  // namespace

bool ReadSigrokSession(sr_context* context, const std::string& path, const std::string& head,
                       const std::string& channel, int32_t maxSamples, ForeignRecord& record,
                       std::string& error) {
    if (head.size() < 4 || std::memcmp(head.data(), "PK\x03\x04", 4) != 0) {
        error = "not a zip archive";
        return false;
    }
    PrivateMainContext mainContext;
    sr_session* loaded = nullptr;
    if (sr_session_load(context, path.c_str(), &loaded) != SR_OK || loaded == nullptr) {
        error = HasZipEnd(path) ? "not a sigrok session" : "a damaged zip archive";
        return false;
    }
    LoadedSession session(loaded);

    sr_channel* chosen = nullptr;
    sr_dev_inst* device = nullptr;
    for (sr_dev_inst* each : session.Devices()) {
        for (GSList* c = sr_dev_inst_channels_get(each); c != nullptr; c = c->next) {
            auto* ch = static_cast<sr_channel*>(c->data);
            if (ch->type != SR_CHANNEL_ANALOG) continue;
            record.channels.emplace_back(ch->name);
            if (chosen == nullptr && (channel.empty() || channel == ch->name)) {
                chosen = ch;
                device = each;
            }
        }
    }
    if (chosen == nullptr) {
        error = record.channels.empty() || channel.empty() ? "no analog channel"
                                                           : "no analog channel called " + channel;
        return false;
    }
    record.channel = chosen->name;
    // The other channels are not replayed at all.
    for (sr_dev_inst* each : session.Devices()) {
        for (GSList* c = sr_dev_inst_channels_get(each); c != nullptr; c = c->next) {
            auto* ch = static_cast<sr_channel*>(c->data);
            sr_dev_channel_enable(ch, ch == chosen);
        }
    }

    // The session loader says volts; a session's samples are volts anyway.
    SigrokAnalogCollector collector(chosen, maxSamples, 1000.0);
    int result = sr_session_datafeed_callback_add(session.Session(), &SigrokAnalogCollector::Feed,
                                                  &collector);
    if (result == SR_OK) result = sr_session_start(session.Session());
    if (result == SR_OK) result = sr_session_run(session.Session());
    if (result != SR_OK) {
        error = std::string("libsigrok cannot replay the session: ") + sr_strerror(result);
        return false;
    }
    if (!collector.Failure().empty()) {
        error = collector.Failure();
        return false;
    }
    // The loader's replay ends quietly at an entry it cannot unpack; the
    // archive's directory tells how many samples there are (the channel's
    // entries are "analog-1-<its number from 1>-<piece>", floats).
    const uint64_t listed =
        ZipEntryBytes(path, "analog-1-" + std::to_string(chosen->index + 1) + "-") / sizeof(float);
    if (collector.Total() < listed) {
        error = "a damaged zip archive";
        return false;
    }
    if (collector.Total() == 0) {
        error = "no samples";
        return false;
    }
    uint64_t rateHz = DeviceRate(device);
    if (rateHz == 0) rateHz = collector.SampleRateHz();
    record.samplesMv = std::move(collector.SamplesMv());
    // A session of this program's making carries its millivolts exactly too.
    TakeExactMillivolts(path, record.channel, record.samplesMv);
    record.totalSamples = collector.Total();
    record.sampleRateHz = static_cast<double>(rateHz);
    return true;
}

}  // namespace korvel
