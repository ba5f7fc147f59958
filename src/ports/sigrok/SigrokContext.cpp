#include "ports/sigrok/SigrokContext.h"

#include <libsigrokcxx/libsigrokcxx.hpp>
#include <mutex>

namespace korvel {

std::shared_ptr<sigrok::Context> SigrokProcessContext(std::string& error) {
    static std::mutex mutex;
    static bool tried = false;
    static std::string failure;
    static std::shared_ptr<sigrok::Context> context;
    std::lock_guard<std::mutex> lock(mutex);
    if (!tried) {
        tried = true;
        try {
            context = sigrok::Context::create();
        } catch (const std::exception& e) {
            failure = std::string("libsigrok cannot be started: ") + e.what();
        }
    }
    if (!context) error = failure;
    return context;
}

}  // namespace korvel
