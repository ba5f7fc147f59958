#include "ports/sigrok/SigrokContext.h"

#include <libsigrokcxx/libsigrokcxx.hpp>
#include <mutex>

namespace korvel {

namespace {

// libsigrokcxx keeps a Context's C context to itself. An explicit
// instantiation may name a private member (access is not checked in its
// arguments); the one below hands the member's address to a friend
// function, the only way to it short of a second context.
struct CContextOf {
    using Member = sr_context* sigrok::Context::*;
    friend Member MemberOf(CContextOf);
};
CContextOf::Member MemberOf(CContextOf);

template <typename Tag, typename Tag::Member member>
struct Disclose {
    friend typename Tag::Member MemberOf(Tag) { return member; }
};
template struct Disclose<CContextOf, &sigrok::Context::_structure>;

}  // namespace

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

sr_context* SigrokProcessCContext(std::string& error) {
    const auto context = SigrokProcessContext(error);
    if (!context) return nullptr;
    return (*context).*MemberOf(CContextOf{});
}

}  // namespace korvel
