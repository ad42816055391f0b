// The answer to a request for a selection's contents, as the owner sends it.
#pragma once

#include <xcb/xcb.h>

namespace lorrin::keeper {

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
    xcb_send_event(connection, 0, request.requestor, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&notice));
}

}  // namespace lorrin::keeper
