// One record of one analog channel, taken by a libsigrok session on a thread
// of its own. The thread runs the session in a GLib main context of its own,
// so libsigrok's event sources never land in the window's event loop, and it
// writes nothing but this object's buffer: the engine sees the record only
// through Poll, on its own thread, once the session has ended.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "ports/Instrument.h"

namespace sigrok {
class Channel;
class Context;
class HardwareDevice;
class Packet;
class Session;
}  // namespace sigrok

namespace korvel {

class SigrokRecord {
  public:
    SigrokRecord() = default;
    SigrokRecord(const SigrokRecord&) = delete;
    SigrokRecord& operator=(const SigrokRecord&) = delete;
    ~SigrokRecord();

    // Starts a session that collects count samples of channel, in millivolts.
    // The device is open and set up (channels, rate, limits); a record still
    // under way is cancelled first. False when no session can be made.
    bool Start(const std::shared_ptr<sigrok::Context>& context,
               const std::shared_ptr<sigrok::HardwareDevice>& device,
               const std::shared_ptr<sigrok::Channel>& channel, int32_t count,
               std::chrono::milliseconds timeout, std::string& error);

    // As Instrument::Poll. Once it has said Ready or Failed, no record is
    // under way, and Poll says Failed until the next Start.
    InstrumentPoll Poll(float* samples, std::string& error);

    // Asks the session to stop and returns once its thread has ended. No
    // record is under way afterwards; harmless when none was.
    void Cancel();

    bool Running() const { return thread_.joinable(); }

  private:
    void Run();
    void Receive(const std::shared_ptr<sigrok::Packet>& packet);
    static int Watch(void* record);
    void Join();

    std::shared_ptr<sigrok::Session> session_;
    std::string channelName_;
    std::thread thread_;
    std::chrono::steady_clock::time_point startedAt_;
    std::chrono::milliseconds timeout_{0};
    int32_t count_ = 0;

    // Set by Cancel or a time-out; the session's thread stops the session
    // when it sees it.
    std::atomic<bool> stopWanted_{false};
    // Set by the session's thread as its last act: what it wrote below may
    // be read from then on.
    std::atomic<bool> done_{false};

    // Written only by the session's thread until done_.
    std::vector<float> samplesMv_;
    std::vector<float> packet_;
    int32_t received_ = 0;
    bool ended_ = false;     // the driver has ended the record itself
    bool stopping_ = false;  // the session has been asked to stop
    std::string failure_;
};

}  // namespace korvel
