#include "files/sigrok/SigrokOutputWrite.h"

#include <libsigrok/libsigrok.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>

namespace korvel {

namespace {

// Significant digits of a volt value for the readers that show digits: a
// microvolt, below the program's resolution.
constexpr int8_t kVoltDigits = 6;

// A folder only this process writes to, removed with what is in it.
class PrivateFolder {
  public:
    PrivateFolder() {
        const char* base = std::getenv("TMPDIR");
        std::string name =
            std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/korvel-XXXXXX";
        if (mkdtemp(name.data()) != nullptr)
            path_ = name;
        else
            error_ = errno;
    }
    ~PrivateFolder() {
        if (path_.empty()) return;
        std::remove(File().c_str());
        rmdir(path_.c_str());
    }
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;

    bool Made() const { return !path_.empty(); }
    int Error() const { return error_; }
    std::string File() const { return path_ + "/record.sr"; }

  private:
    std::string path_;
    int error_ = 0;
};

bool ReadWhole(const std::string& path, std::string& bytes) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return !file.bad();
}

// One device for every file written: libsigrok has no call that frees a
// device made by a program, so one a file would be lost each time. Its one
// channel is renamed for each file.
sr_dev_inst* WritingDevice() {
    static sr_dev_inst* const device = [] {
        sr_dev_inst* made = sr_dev_inst_user_new("KORVEL", "oscilloscope", "");
        if (made == nullptr || sr_dev_inst_channel_add(made, 0, SR_CHANNEL_ANALOG, "CH1") != SR_OK)
            return static_cast<sr_dev_inst*>(nullptr);
        return made;
    }();
    return device;
}

// libsigrok 0.5.2's wav output drops a reference to its option's default
// value each time one of its outputs is freed, but holds only one: the
// second WAV file of a process would read freed memory. A reference taken
// before each output balances the one its end drops. (The default is never
// released otherwise, so a libsigrok without the fault only counts higher.)
void BalanceWavOptionReferences(const sr_output_module* module) {
    const sr_option** options = sr_output_options_get(module);
    for (size_t i = 0; options != nullptr && options[i] != nullptr; ++i) {
        if (options[i]->def != nullptr) g_variant_ref(options[i]->def);
    }
    g_free(static_cast<void*>(options));
}

class OutputStream {
  public:
    explicit OutputStream(const sr_output* output) : output_(output) {}
    ~OutputStream() { sr_output_free(output_); }
    OutputStream(const OutputStream&) = delete;
    OutputStream& operator=(const OutputStream&) = delete;

    // Appends what the module writes for packet to bytes.
    bool Send(uint16_t type, const void* payload, std::string& bytes, std::string& error) {
        const sr_datafeed_packet packet{type, payload};
        GString* out = nullptr;
        const int result = sr_output_send(output_, &packet, &out);
        if (out != nullptr) {
            bytes.append(out->str, out->len);
            g_string_free(out, TRUE);
        }
        if (result != SR_OK)
            error = std::string("libsigrok cannot write it: ") + sr_strerror(result);
        return result == SR_OK;
    }

  private:
    const sr_output* output_;
};

GHashTable* Options(const std::string& module) {
    GHashTable* options = g_hash_table_new_full(
        g_str_hash, g_str_equal, g_free,
        [](gpointer value) { g_variant_unref(static_cast<GVariant*>(value)); });
    auto set = [options](const char* name, GVariant* value) {
        g_hash_table_insert(options, g_strdup(name), g_variant_ref_sink(value));
    };
    if (module == "csv") {
        // One column of values. libsigrok's time column takes the rate
        // from the device's driver, which a device of the program's making
        // does not have (it writes "samples" and zeros), so the rate goes
        // into a comment instead. Its caption of units loses the caption's
        // memory each time (0.5.2), so the caption is the program's too, in
        // libsigrok's words.
        set("label", g_variant_new_string("off"));
        set("time", g_variant_new_boolean(FALSE));
        set("dedup", g_variant_new_boolean(FALSE));
        set("header", g_variant_new_boolean(TRUE));
    }
    return options;
}

}  // namespace

bool WriteThroughOutput(const std::string& module, std::vector<float>& volts, uint64_t sampleRateHz,
                        const std::string& channel, std::string& bytes, std::string& error) {
    bytes.clear();
    const sr_output_module* format = sr_output_find(const_cast<char*>(module.c_str()));
    sr_dev_inst* device = WritingDevice();
    if (format == nullptr || device == nullptr) {
        error = "libsigrok has no " + module + " output";
        return false;
    }
    auto* analogChannel = static_cast<sr_channel*>(sr_dev_inst_channels_get(device)->data);
    sr_dev_channel_name_set(analogChannel, channel.c_str());

    const bool toFile = module == "srzip";
    PrivateFolder folder;
    if (toFile && !folder.Made()) {
        error =
            std::string("no temporary folder for the session: ") + std::strerror(folder.Error());
        return false;
    }
    if (module == "wav") BalanceWavOptionReferences(format);
    GHashTable* options = Options(module);
    const sr_output* made =
        sr_output_new(format, options, device, toFile ? folder.File().c_str() : nullptr);
    g_hash_table_destroy(options);
    if (made == nullptr) {
        error = "libsigrok cannot make a " + module + " output";
        return false;
    }
    {
        OutputStream output(made);

        sr_datafeed_header header{};
        header.feed_version = 1;
        header.starttime.tv_sec = std::time(nullptr);
        if (!output.Send(SR_DF_HEADER, &header, bytes, error)) return false;

        GVariant* rate = g_variant_ref_sink(g_variant_new_uint64(sampleRateHz));
        sr_config config{SR_CONF_SAMPLERATE, rate};
        GSList configs{&config, nullptr};
        const sr_datafeed_meta meta{&configs};
        const bool told = output.Send(SR_DF_META, &meta, bytes, error);
        g_variant_unref(rate);
        if (!told) return false;

        // One packet: the csv output sizes its buffer by the first packet
        // and would overrun it with a longer one.
        sr_analog_encoding encoding{};
        encoding.unitsize = sizeof(float);
        encoding.is_signed = TRUE;
        encoding.is_float = TRUE;
        encoding.is_bigendian = G_BYTE_ORDER == G_BIG_ENDIAN;
        encoding.digits = kVoltDigits;
        encoding.is_digits_decimal = TRUE;
        encoding.scale = {1, 1};
        encoding.offset = {0, 1};
        GSList channels{analogChannel, nullptr};
        sr_analog_meaning meaning{};
        meaning.mq = SR_MQ_VOLTAGE;
        meaning.unit = SR_UNIT_VOLT;
        meaning.channels = &channels;
        sr_analog_spec digits{kVoltDigits};
        const sr_datafeed_analog analog{volts.data(), static_cast<uint32_t>(volts.size()),
                                        &encoding, &meaning, &digits};
        if (!output.Send(SR_DF_ANALOG, &analog, bytes, error)) return false;
        if (!output.Send(SR_DF_END, nullptr, bytes, error)) return false;
    }
    if (toFile && !ReadWhole(folder.File(), bytes)) {
        error = "libsigrok wrote no session file";
        return false;
    }
    return true;
}

}  // namespace korvel
