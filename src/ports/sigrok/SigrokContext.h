// The process's one libsigrok context, shared by everything that talks to
// libsigrok: the instruments and the other tools' file formats. No libsigrok
// or GLib header is seen from here.
#pragma once

#include <memory>
#include <string>

namespace sigrok {
class Context;
}  // namespace sigrok

namespace korvel {

// libsigrok's drivers belong to the process, not to a context: a second
// context would set them up again over the first one's (and leak them). So
// every user shares one context, made at the first need; one that cannot be
// made is not tried again, and the error stays the same. Null, with error,
// when there is none.
std::shared_ptr<sigrok::Context> SigrokProcessContext(std::string& error);

}  // namespace korvel
