// What the keeper's tests and their clipboard manager share: an X server of the test's
// own, and a client that reads selections as pasting programs do (large forms in pieces,
// INCR) and takes them as copying programs do.
#pragma once

#include "lorrin/keeper/xcb_calls.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace lorrin::keeper::test {

using Bytes = std::vector<std::uint8_t>;

using Event = xcb::Reply<xcb_generic_event_t>;

// An Xvfb on a display it picks itself; DISPLAY names it while it runs.
class XServer {
public:
    XServer();
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;
    bool running() const { return pid_ > 0; }
    void stop();

private:
    pid_t pid_ = 0;
};

// One connection with a window of its own, on the display DISPLAY names.
class XClient {
public:
    XClient();
    ~XClient();
    XClient(const XClient&) = delete;
    XClient& operator=(const XClient&) = delete;

    bool connected() const { return xcb_connection_has_error(connection_) == 0; }
    xcb_connection_t* connection() const { return connection_; }
    xcb_window_t window() const { return window_; }
    xcb_atom_t atom(std::string_view name) const;
    std::string name(xcb_atom_t atom) const;
    xcb_window_t owner(std::string_view selection) const;
    // The server's time now (a property of the window is changed for it).
    xcb_timestamp_t now();

    // Takes the selection; true when it is this client's.
    bool own(std::string_view selection);
    // Asks for the selection's target into `property` and waits for the answer: the
    // property's atom, XCB_ATOM_NONE for a refusal, nullopt for no answer in time.
    std::optional<xcb_atom_t> ask(xcb_atom_t selection, xcb_atom_t target, xcb_atom_t property,
                                  std::chrono::milliseconds limit);
    // The property's type and bytes, deleted from the window once read.
    std::optional<std::pair<xcb_atom_t, Bytes>> take(xcb_atom_t property);
    // The target's bytes as a pasting program gets them, pieces and all; nullopt when the
    // owner refuses, or any step takes longer than `limit`.
    std::optional<Bytes> read(std::string_view selection, std::string_view target,
                              std::chrono::milliseconds limit = std::chrono::seconds(2));
    // The names of the targets the owner offers.
    std::vector<std::string> targets(std::string_view selection);
    // The next event that `wanted` takes, waiting up to `limit`; the others are dropped.
    Event waitFor(const std::function<bool(const xcb_generic_event_t&)>& wanted,
                  std::chrono::milliseconds limit);

private:
    xcb_connection_t* connection_;
    xcb_window_t window_;
};

}  // namespace lorrin::keeper::test
