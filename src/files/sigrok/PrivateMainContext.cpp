#include "files/sigrok/PrivateMainContext.h"

#include <glib.h>

namespace korvel {

PrivateMainContext::PrivateMainContext() : loop_(g_main_context_new()) {
    g_main_context_push_thread_default(loop_);
}

PrivateMainContext::~PrivateMainContext() {
    g_main_context_pop_thread_default(loop_);
    g_main_context_unref(loop_);
}

}  // namespace korvel
