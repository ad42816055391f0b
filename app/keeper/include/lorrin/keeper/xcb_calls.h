// The few xcb calls that the keeper, lorrin's own clipboard reader and the keeper's tests
// all make: replies freed on their own, atoms by name, a selection's owner.
#pragma once

#include <xcb/xcb.h>

#include <array>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <vector>

namespace lorrin::keeper::xcb {

// xcb hands out replies and events from malloc.
struct Free {
    void operator()(void* p) const { std::free(p); }
};
template <typename T>
using Reply = std::unique_ptr<T, Free>;

// The atoms of the names, with one round trip for all; XCB_ATOM_NONE where there is no
// answer.
template <typename Names>
std::vector<xcb_atom_t> internAtoms(xcb_connection_t* connection, const Names& names) {
    std::vector<xcb_intern_atom_cookie_t> cookies;
    for (const auto& name : names) {
        const std::string_view text(name);
        cookies.push_back(
            xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(text.size()), text.data()));
    }
    std::vector<xcb_atom_t> atoms;
    for (const auto cookie : cookies) {
        const Reply<xcb_intern_atom_reply_t> reply(
            xcb_intern_atom_reply(connection, cookie, nullptr));
        atoms.push_back(reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE});
    }
    return atoms;
}

inline xcb_atom_t internAtom(xcb_connection_t* connection, std::string_view name) {
    return internAtoms(connection, std::array{name}).front();
}

// The window that owns `selection`, XCB_NONE for none (or no answer).
inline xcb_window_t selectionOwner(xcb_connection_t* connection, xcb_atom_t selection) {
    const Reply<xcb_get_selection_owner_reply_t> reply(xcb_get_selection_owner_reply(
        connection, xcb_get_selection_owner(connection, selection), nullptr));
    return reply ? reply->owner : xcb_window_t{XCB_NONE};
}

}  // namespace lorrin::keeper::xcb
