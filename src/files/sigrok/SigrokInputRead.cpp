#include "files/sigrok/SigrokInputRead.h"

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <libsigrokcxx/libsigrokcxx.hpp>
#include <vector>

#include "files/InputFile.h"
#include "files/sigrok/SigrokAnalogCollector.h"

namespace korvel {

namespace {

constexpr size_t kPieceBytes = 64 * 1024;

// Counts the bytes since the last end of a line, across pieces, so that a
// file of one endless line is refused before the module has buffered it.
class LineWatch {
  public:
    explicit LineWatch(size_t longest) : longest_(longest) {}

    // False once a line has grown beyond the limit.
    bool Take(const char* bytes, size_t size) {
        if (longest_ == 0) return true;
        for (size_t i = 0; i < size; ++i) {
            if (bytes[i] == '\n' || bytes[i] == '\r') {
                if (bytes[i] == '\n') ++line_;
                run_ = 0;
            } else if (++run_ > longest_) {
                return false;
            }
        }
        return true;
    }
    uint64_t Line() const { return line_ + 1; }

  private:
    size_t longest_;
    size_t run_ = 0;
    uint64_t line_ = 0;
};

}  // namespace

bool ReadThroughInput(sigrok::Context& context, const std::string& path,
                      const SigrokInputRequest& request, ForeignRecord& record,
                      SigrokInputOutcome& outcome, std::string& error) {
    InputFile file(path, InputKinds::RegularFiles, SIZE_MAX);
    if (!file.IsOpen()) {
        error = "cannot read the file: " + FileStatusText(file.Status(), 0);
        return false;
    }
    // The collector outlives the session and the input, which may still
    // send to it while they are taken down.
    std::unique_ptr<SigrokAnalogCollector> collector;
    std::shared_ptr<sigrok::Input> input;
    std::shared_ptr<sigrok::Session> session;
    try {
        const auto formats = context.input_formats();
        const auto format = formats.find(request.format);
        if (format == formats.end()) {
            error = "libsigrok has no " + request.format + " input";
            return false;
        }
        input = format->second->create_input(request.options);
        session = context.create_session();
    } catch (const std::exception& e) {
        error = "libsigrok cannot make a " + request.format + " input: " + e.what();
        return false;
    }

    std::vector<char> piece(kPieceBytes);
    LineWatch lines(request.longestLine);
    for (;;) {
        const size_t got = file.Read(piece.data(), piece.size());
        if (got == 0) break;
        if (!lines.Take(piece.data(), got)) {
            char text[96];
            std::snprintf(text, sizeof text, "line %" PRIu64 " is longer than %zu bytes",
                          lines.Line(), request.longestLine);
            error = text;
            return false;
        }
        try {
            input->send(piece.data(), got);
        } catch (const std::exception& e) {
            outcome.refused = true;
            error = e.what();
            return false;
        }
        if (outcome.device) {
            if (!collector->Failure().empty()) break;
            continue;
        }
        // The module makes its device once it has read enough of the start
        // (a CSV file's first line, a WAV file's header); no samples are
        // sent before it is in the session.
        std::shared_ptr<sigrok::InputDevice> device;
        try {
            device = input->device();
        } catch (const sigrok::Error&) {
            continue;
        }
        outcome.device = true;
        std::string chosen;
        for (const auto& c : device->channels()) {
            if (c->type() != sigrok::ChannelType::ANALOG) continue;
            record.channels.push_back(c->name());
            if (chosen.empty() && (request.channel.empty() || c->name() == request.channel))
                chosen = c->name();
        }
        if (chosen.empty()) {
            error = record.channels.empty() || request.channel.empty()
                        ? "no analog channel"
                        : "no analog channel called " + request.channel;
            return false;
        }
        record.channel = chosen;
        collector = std::make_unique<SigrokAnalogCollector>(chosen, request.maxSamples,
                                                            request.unknownUnitScale);
        try {
            session->add_device(device);
            session->add_datafeed_callback([&collector](std::shared_ptr<sigrok::Device>,
                                                        std::shared_ptr<sigrok::Packet> packet) {
                collector->Receive(packet);
            });
        } catch (const std::exception& e) {
            error = std::string("libsigrok cannot take the file's device: ") + e.what();
            return false;
        }
    }
    if (!file.Status()) {
        error = "cannot read the file: " + FileStatusText(file.Status(), 0);
        return false;
    }
    if (collector && !collector->Failure().empty()) {
        error = collector->Failure();
        return false;
    }
    try {
        input->end();
    } catch (const std::exception& e) {
        outcome.refused = true;
        error = e.what();
        return false;
    }
    if (!outcome.device) return false;
    if (!collector->Failure().empty()) {
        error = collector->Failure();
        return false;
    }
    record.samplesMv = std::move(collector->SamplesMv());
    record.totalSamples = collector->Total();
    record.sampleRateHz = static_cast<double>(collector->SampleRateHz());
    return true;
}

}  // namespace korvel
