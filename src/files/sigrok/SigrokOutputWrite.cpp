#include "files/sigrok/SigrokOutputWrite.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <libsigrokcxx/libsigrokcxx.hpp>
#include <map>

namespace korvel {

namespace {

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

// libsigrok 0.5.2's wav output drops a reference to its option's default
// value each time one of its outputs is freed, but holds only one: the
// second WAV file of a process would read freed memory. A reference taken
// before each output balances the one its end drops. (The default is never
// released otherwise, so a libsigrok without the fault only counts higher.)
// The module's options must not be freed through OutputFormat::options(),
// which drops a reference of its own.
void BalanceWavOptionReferences() {
    const sr_output_module* module = sr_output_find(const_cast<char*>("wav"));
    if (module == nullptr) return;
    const sr_option** options = sr_output_options_get(module);
    for (size_t i = 0; options != nullptr && options[i] != nullptr; ++i) {
        if (options[i]->def != nullptr) g_variant_ref(options[i]->def);
    }
    g_free(static_cast<void*>(options));
}

bool ReadWhole(const std::string& path, std::string& bytes) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return !file.bad();
}

}  // namespace

bool WriteThroughOutput(sigrok::Context& context, const std::string& format,
                        std::vector<float>& volts, uint64_t sampleRateHz,
                        const std::string& channel, std::string& bytes, std::string& error) {
    bytes.clear();
    const bool toFile = format == "srzip";
    PrivateFolder folder;
    if (toFile && !folder.Made()) {
        error =
            std::string("no temporary folder for the session: ") + std::strerror(folder.Error());
        return false;
    }
    try {
        const auto formats = context.output_formats();
        const auto found = formats.find(format);
        if (found == formats.end()) {
            error = "libsigrok has no " + format + " output";
            return false;
        }
        auto device = context.create_user_device("KORVEL", "oscilloscope", "");
        auto analog = device->add_channel(0, sigrok::ChannelType::ANALOG, channel);
        std::map<std::string, Glib::VariantBase> options;
        if (format == "csv") {
            // One column of values captioned by their unit: libsigrok's
            // time column needs a rate from the device's driver, which a
            // device of the program's making does not have (it writes
            // "samples" and zeros), so the rate goes into a comment.
            options["label"] = Glib::Variant<Glib::ustring>::create("units");
            options["time"] = Glib::Variant<bool>::create(false);
            options["dedup"] = Glib::Variant<bool>::create(false);
            options["header"] = Glib::Variant<bool>::create(true);
        }
        if (format == "wav") BalanceWavOptionReferences();
        auto output = toFile ? found->second->create_output(folder.File(), device, options)
                             : found->second->create_output(device, options);

        Glib::TimeVal now;
        now.assign_current_time();
        bytes += output->receive(context.create_header_packet(now));
        std::map<const sigrok::ConfigKey*, Glib::VariantBase> meta;
        meta[sigrok::ConfigKey::SAMPLERATE] = Glib::Variant<guint64>::create(sampleRateHz);
        bytes += output->receive(context.create_meta_packet(meta));
        // One packet: the csv output sizes its buffer by the first packet
        // and would overrun it with a longer one.
        bytes += output->receive(context.create_analog_packet(
            {analog}, volts.data(), static_cast<unsigned int>(volts.size()),
            sigrok::Quantity::VOLTAGE, sigrok::Unit::VOLT, {}));
        bytes += output->receive(context.create_end_packet());
    } catch (const std::exception& e) {
        error = "libsigrok cannot write the " + format + " file: " + e.what();
        return false;
    }
    if (toFile && !ReadWhole(folder.File(), bytes)) {
        error = "libsigrok wrote no session file";
        return false;
    }
    return true;
}

}  // namespace korvel
