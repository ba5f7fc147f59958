#include "files/sigrok/SigrokSessionRead.h"

#include <glib.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <libsigrokcxx/libsigrokcxx.hpp>

#include "files/sigrok/SigrokAnalogCollector.h"

namespace korvel {

namespace {

// A zip archive ends with its directory's end record ("PK\5\6" and at most
// 65535 bytes of comment after its 22 bytes); an archive cut short has lost
// it, which tells a damaged archive from one that is no session.
bool HasZipEnd(const std::string& path) {
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file) return false;
    const std::streamoff size = file.tellg();
    const std::streamoff tail = std::min<std::streamoff>(size, 22 + 65535);
    std::string bytes(static_cast<size_t>(tail), '\0');
    file.seekg(size - tail);
    if (!file.read(bytes.data(), tail)) return false;
    if (bytes.size() < 22) return false;
    for (size_t at = bytes.size() - 22 + 1; at-- > 0;) {
        if (std::memcmp(bytes.data() + at, "PK\x05\x06", 4) == 0) return true;
    }
    return false;
}

// libsigrok runs a session in the thread's default main context; a context
// of its own keeps the window's event loop (the same thread's) out of it.
class PrivateMainContext {
  public:
    PrivateMainContext() : loop_(g_main_context_new()) {
        g_main_context_push_thread_default(loop_);
    }
    ~PrivateMainContext() {
        g_main_context_pop_thread_default(loop_);
        g_main_context_unref(loop_);
    }
    PrivateMainContext(const PrivateMainContext&) = delete;
    PrivateMainContext& operator=(const PrivateMainContext&) = delete;

  private:
    GMainContext* loop_;
};

uint64_t DeviceRate(sigrok::Device& device) {
    try {
        const auto value = device.config_get(sigrok::ConfigKey::SAMPLERATE);
        return Glib::VariantBase::cast_dynamic<Glib::Variant<guint64>>(value).get();
    } catch (const std::exception&) {
        return 0;
    }
}

}  // namespace

bool ReadSigrokSession(sigrok::Context& context, const std::string& path, const std::string& head,
                       const std::string& channel, int32_t maxSamples, ForeignRecord& record,
                       std::string& error) {
    if (head.size() < 4 || std::memcmp(head.data(), "PK\x03\x04", 4) != 0) {
        error = "not a zip archive";
        return false;
    }
    PrivateMainContext mainContext;
    std::shared_ptr<sigrok::Session> session;
    try {
        session = context.load_session(path);
    } catch (const std::exception&) {
        error = HasZipEnd(path) ? "not a sigrok session" : "a damaged zip archive";
        return false;
    }

    std::shared_ptr<sigrok::Channel> chosen;
    std::shared_ptr<sigrok::Device> device;
    try {
        for (const auto& each : session->devices()) {
            for (const auto& c : each->channels()) {
                if (c->type() != sigrok::ChannelType::ANALOG) continue;
                record.channels.push_back(c->name());
                if (!chosen && (channel.empty() || c->name() == channel)) {
                    chosen = c;
                    device = each;
                }
            }
        }
    } catch (const std::exception& e) {
        error = std::string("libsigrok cannot list the session's channels: ") + e.what();
        return false;
    }
    if (!chosen) {
        error = record.channels.empty() || channel.empty() ? "no analog channel"
                                                           : "no analog channel called " + channel;
        return false;
    }
    record.channel = chosen->name();
    // The other channels are not replayed at all.
    for (const auto& each : session->devices()) {
        for (const auto& c : each->channels()) {
            try {
                if (c != chosen && c->enabled()) c->set_enabled(false);
            } catch (const std::exception&) {
                // One that stays on is only more packets passed over.
            }
        }
    }

    // The session loader says volts; a session's samples are volts anyway.
    SigrokAnalogCollector collector(record.channel, maxSamples, 1000.0);
    try {
        session->add_datafeed_callback(
            [&collector](std::shared_ptr<sigrok::Device>, std::shared_ptr<sigrok::Packet> packet) {
                collector.Receive(packet);
            });
        session->start();
        session->run();
    } catch (const std::exception& e) {
        error = std::string("libsigrok cannot replay the session: ") + e.what();
        return false;
    }
    if (!collector.Failure().empty()) {
        error = collector.Failure();
        return false;
    }
    if (collector.Total() == 0) {
        error = "no samples";
        return false;
    }
    uint64_t rateHz = DeviceRate(*device);
    if (rateHz == 0) rateHz = collector.SampleRateHz();
    record.samplesMv = std::move(collector.SamplesMv());
    record.totalSamples = collector.Total();
    record.sampleRateHz = static_cast<double>(rateHz);
    return true;
}

}  // namespace korvel
