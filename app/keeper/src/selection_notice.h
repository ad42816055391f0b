// The answer to a request for a selection's contents, as the owner sends it.
#pragma once

#include <xcb/xcb.h>

#include <array>
#include <cstring>

namespace lorrin::keeper {

// Sends `event` to `window`.  An event goes as 32 bytes whatever its structure holds (a
// SelectionNotify holds 24), so it is copied into 32 zeroed ones: sent from the structure
// itself, the bytes after it would go too.
template <typename Event>
void sendEvent(xcb_connection_t* connection, xcb_window_t window, const Event& event) {
    static_assert(sizeof(Event) <= 32);
    std::array<char, 32> wire{};
    std::memcpy(wire.data(), &event, sizeof event);
    xcb_send_event(connection, 0, window, XCB_EVENT_MASK_NO_EVENT, wire.data());
}

// Tells the asker that `property` on its window holds the target it asked for, or, with
// XCB_ATOM_NONE, that the owner refuses it.
inline void sendSelectionNotice(xcb_connection_t* connection,
                                const xcb_selection_request_event_t& request, xcb_atom_t property) {
    xcb_selection_notify_event_t notice{};
    notice.response_type = XCB_SELECTION_NOTIFY;
    notice.time = request.time;
    notice.requestor = request.requestor;
    notice.selection = request.selection;
    notice.target = request.target;
    notice.property = property;
    sendEvent(connection, request.requestor, notice);
}

}  // namespace lorrin::keeper
