#include "files/sigrok/SigrokInputRead.h"

#include <libsigrok/libsigrok.h>

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <memory>
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

// The module's own work on the bytes. libsigrok 0.5.2's csv input loses
// the details of its columns (a few bytes a file, made here and never
// freed); the sanitizer's leak check of the tests passes over what is lost
// under these two calls by their names, so they stay calls of their own.
[[gnu::noinline]] int FeedInputModule(const sr_input* input, GString* bytes) {
    return sr_input_send(input, bytes);
}

[[gnu::noinline]] int EndInputModule(const sr_input* input) {
    return sr_input_end(input);
}

// The input and the session its device joins, freed on every way out: the
// session first, as it refers to the input's device.
class InputAndSession {
  public:
    InputAndSession() = default;
    ~InputAndSession() {
        if (session != nullptr) sr_session_destroy(session);
        if (input != nullptr) sr_input_free(input);
    }
    InputAndSession(const InputAndSession&) = delete;
    InputAndSession& operator=(const InputAndSession&) = delete;

    const sr_input* input = nullptr;
    sr_session* session = nullptr;
};

}  // namespace

SigrokInputRequest::~SigrokInputRequest() {
    for (auto& [name, value] : options)
        g_variant_unref(value);
}

void SigrokInputRequest::Set(const std::string& name, GVariant* value) {
    GVariant*& slot = options[name];
    if (slot != nullptr) g_variant_unref(slot);
    slot = g_variant_ref_sink(value);
}

bool ReadThroughInput(sr_context* context, const std::string& path,
                      const SigrokInputRequest& request, ForeignRecord& record,
                      SigrokInputOutcome& outcome, std::string& error) {
    InputFile file(path, InputKinds::RegularFiles, SIZE_MAX);
    if (!file.IsOpen()) {
        error = "cannot read the file: " + FileStatusText(file.Status(), 0);
        return false;
    }
    const sr_input_module* module = sr_input_find(const_cast<char*>(request.module.c_str()));
    if (module == nullptr) {
        error = "libsigrok has no " + request.module + " input";
        return false;
    }
    // The collector outlives the session and the input, which may still
    // send to it while they are taken down.
    std::unique_ptr<SigrokAnalogCollector> collector;
    InputAndSession io;
    GHashTable* options = g_hash_table_new_full(
        g_str_hash, g_str_equal, g_free,
        [](gpointer value) { g_variant_unref(static_cast<GVariant*>(value)); });
    for (const auto& [name, value] : request.options)
        g_hash_table_insert(options, g_strdup(name.c_str()), g_variant_ref(value));
    io.input = sr_input_new(module, options);
    g_hash_table_destroy(options);
    if (io.input == nullptr) {
        error = "libsigrok's " + request.module + " input refuses its options";
        return false;
    }
    if (sr_session_new(context, &io.session) != SR_OK) {
        error = "libsigrok cannot make a session";
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
        GString* bytes = g_string_new_len(piece.data(), static_cast<gssize>(got));
        const int sent = FeedInputModule(io.input, bytes);
        g_string_free(bytes, TRUE);
        if (sent != SR_OK) {
            outcome.refused = true;
            error = sr_strerror(sent);
            return false;
        }
        if (outcome.device) {
            if (!collector->Failure().empty()) break;
            continue;
        }
        // The module makes its device once it has read enough of the start
        // (a CSV file's first line, a WAV file's header); it sends no
        // samples before that.
        sr_dev_inst* device = sr_input_dev_inst_get(io.input);
        if (device == nullptr) continue;
        outcome.device = true;
        sr_channel* chosen = nullptr;
        for (GSList* c = sr_dev_inst_channels_get(device); c != nullptr; c = c->next) {
            auto* ch = static_cast<sr_channel*>(c->data);
            if (ch->type != SR_CHANNEL_ANALOG) continue;
            record.channels.emplace_back(ch->name);
            if (chosen == nullptr && (request.channel.empty() || request.channel == ch->name))
                chosen = ch;
        }
        if (chosen == nullptr) {
            error = record.channels.empty() || request.channel.empty()
                        ? "no analog channel"
                        : "no analog channel called " + request.channel;
            return false;
        }
        record.channel = chosen->name;
        collector = std::make_unique<SigrokAnalogCollector>(chosen, request.maxSamples,
                                                            request.unknownUnitScale);
        if (sr_session_dev_add(io.session, device) != SR_OK ||
            sr_session_datafeed_callback_add(io.session, &SigrokAnalogCollector::Feed,
                                             collector.get()) != SR_OK) {
            error = "libsigrok cannot take the file's device into a session";
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
    const int ended = EndInputModule(io.input);
    if (ended != SR_OK) {
        outcome.refused = true;
        error = sr_strerror(ended);
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
