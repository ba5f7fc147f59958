// libsigrok runs a session in the thread's default GLib main context. A
// context of its own, made the thread's default while it lives, keeps the
// window's event loop (the same thread's) out of a session run for a file.
#pragma once

typedef struct _GMainContext GMainContext;

namespace korvel {

class PrivateMainContext {
  public:
    PrivateMainContext();
    ~PrivateMainContext();
    PrivateMainContext(const PrivateMainContext&) = delete;
    PrivateMainContext& operator=(const PrivateMainContext&) = delete;

  private:
    GMainContext* loop_;
};

}  // namespace korvel
