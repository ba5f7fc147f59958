#include "acquisition/sigrok/SigrokRecord.h"

#include <glib.h>

#include <algorithm>
#include <cstdio>
#include <libsigrokcxx/libsigrokcxx.hpp>

namespace korvel {

namespace {

// How often the session's thread looks for a stop request or a full record.
// Drivers that take a sample limit stop by themselves; this stops the others
// and a cancelled record within a tick.
constexpr guint kWatchPeriodMs = 10;

}  // namespace

SigrokRecord::~SigrokRecord() {
    Cancel();
}

bool SigrokRecord::Start(const std::shared_ptr<sigrok::Context>& context,
                         const std::shared_ptr<sigrok::HardwareDevice>& device,
                         const std::shared_ptr<sigrok::Channel>& channel, int32_t count,
                         std::chrono::milliseconds timeout, std::string& error) {
    Cancel();
    try {
        session_ = context->create_session();
        session_->add_device(device);
        session_->add_datafeed_callback(
            [this](std::shared_ptr<sigrok::Device>, std::shared_ptr<sigrok::Packet> packet) {
                Receive(packet);
            });
    } catch (const sigrok::Error& e) {
        session_.reset();
        error = std::string("the device cannot start a record: ") + e.what();
        return false;
    }
    channelName_ = channel->name();
    count_ = count;
    // The buffer keeps its room between records of the same length.
    samplesMv_.resize(static_cast<size_t>(count));
    received_ = 0;
    ended_ = false;
    stopping_ = false;
    failure_.clear();
    stopWanted_.store(false);
    done_.store(false);
    timeout_ = timeout;
    startedAt_ = std::chrono::steady_clock::now();
    thread_ = std::thread(&SigrokRecord::Run, this);
    return true;
}

void SigrokRecord::Run() {
    // libsigrok attaches its event sources to the thread-default context of
    // the thread that starts the session, and runs the session there.
    GMainContext* loop = g_main_context_new();
    g_main_context_push_thread_default(loop);
    GSource* watch = nullptr;
    try {
        session_->start();
        watch = g_timeout_source_new(kWatchPeriodMs);
        g_source_set_callback(watch, &SigrokRecord::Watch, this, nullptr);
        g_source_attach(watch, loop);
        session_->run();
    } catch (const std::exception& e) {
        if (failure_.empty()) failure_ = std::string("the device failed: ") + e.what();
    }
    if (watch != nullptr) {
        g_source_destroy(watch);
        g_source_unref(watch);
    }
    g_main_context_pop_thread_default(loop);
    g_main_context_unref(loop);
    done_.store(true, std::memory_order_release);
}

int SigrokRecord::Watch(void* data) {
    auto* record = static_cast<SigrokRecord*>(data);
    // A driver that has ended the record by itself must not be stopped again:
    // the demo device would then remove its event source a second time.
    const bool wanted = record->stopWanted_.load() || record->received_ >= record->count_ ||
                        !record->failure_.empty();
    if (wanted && !record->stopping_ && !record->ended_) {
        record->stopping_ = true;
        try {
            record->session_->stop();
        } catch (const std::exception& e) {
            if (record->failure_.empty())
                record->failure_ = std::string("the device does not stop: ") + e.what();
        }
    }
    return G_SOURCE_CONTINUE;
}

void SigrokRecord::Receive(const std::shared_ptr<sigrok::Packet>& packet) {
    // Called by libsigrok's C code: nothing may escape from here.
    try {
        if (packet->type() == sigrok::PacketType::END) ended_ = true;
        if (packet->type() != sigrok::PacketType::ANALOG || received_ >= count_ ||
            !failure_.empty())
            return;
        auto analog = std::dynamic_pointer_cast<sigrok::Analog>(packet->payload());
        if (!analog) return;
        // With one channel enabled a packet carries that channel alone; a
        // packet of several channels would need their layout, which no
        // driver states, so it is not read.
        const auto channels = analog->channels();
        if (channels.size() != 1 || channels[0]->name() != channelName_) return;
        const sigrok::Unit* unit = analog->unit();
        if (unit != sigrok::Unit::VOLT) {
            failure_ =
                "the device measures " + channelName_ + " in " + unit->name() + ", not in volts";
            return;
        }
        const size_t packetCount = analog->num_samples();
        if (packetCount == 0) return;
        const size_t room = static_cast<size_t>(count_ - received_);
        float* target = samplesMv_.data() + received_;
        const size_t taken = std::min(packetCount, room);
        if (packetCount <= room) {
            analog->get_data_as_float(target);
        } else {
            packet_.resize(packetCount);
            analog->get_data_as_float(packet_.data());
            std::copy_n(packet_.data(), taken, target);
        }
        for (size_t i = 0; i < taken; ++i)
            target[i] *= 1000.0f;
        received_ += static_cast<int32_t>(taken);
    } catch (const std::exception& e) {
        if (failure_.empty()) failure_ = std::string("the device sent a bad packet: ") + e.what();
    }
}

void SigrokRecord::Join() {
    if (thread_.joinable()) thread_.join();
    // The session lets the device go when it is destroyed, so the next
    // record's session may take it.
    session_.reset();
}

void SigrokRecord::Cancel() {
    if (!thread_.joinable()) return;
    stopWanted_.store(true);
    Join();
}

InstrumentPoll SigrokRecord::Poll(float* samples, std::string& error) {
    if (!thread_.joinable()) {
        error = "no record under way";
        return InstrumentPoll::Failed;
    }
    if (!done_.load(std::memory_order_acquire)) {
        if (std::chrono::steady_clock::now() - startedAt_ <= timeout_)
            return InstrumentPoll::Running;
        Cancel();
        char text[96];
        std::snprintf(text, sizeof text, "no record from the device within %g s",
                      static_cast<double>(timeout_.count()) / 1000.0);
        error = text;
        return InstrumentPoll::Failed;
    }
    Join();
    if (received_ == count_) {
        std::copy_n(samplesMv_.data(), count_, samples);
        return InstrumentPoll::Ready;
    }
    if (!failure_.empty()) {
        error = failure_;
        return InstrumentPoll::Failed;
    }
    char text[96];
    std::snprintf(text, sizeof text, "the device delivered only %d of %d samples", received_,
                  count_);
    error = text;
    return InstrumentPoll::Failed;
}

}  // namespace korvel
