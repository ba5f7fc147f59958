// The process's one libsigrok context, shared by everything that talks to
// libsigrok: the instruments and the other tools' file formats. No libsigrok
// or GLib header is seen from here.
#pragma once

#include <memory>
#include <string>

struct sr_context;

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

// The C context inside that one, for libsigrok's C calls: the input and
// output modules and session files are used through them, since the C++
// bindings of 0.5.2 lose memory there (an input that has made its device
// is never freed, with its buffers; packets made by the program are never
// freed). Null, with error, when there is none.
sr_context* SigrokProcessCContext(std::string& error);

}  // namespace korvel
