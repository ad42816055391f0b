// A clipboard manager for the tests, as small as the protocol allows.  It owns
// CLIPBOARD_MANAGER; asked to SAVE_TARGETS, it reads every form the clipboard offers and
// answers, and once their owner has gone it takes the clipboard and serves them (in one
// piece each: the tests' pictures are small).  It prints "ready", "saved N" and "serving"
// as it gets there, and ends with its X connection.
#include "selection_notice.h"
#include "x_session.h"

#include <cstdio>
#include <string>
#include <thread>
#include <utility>

namespace {

using lorrin::keeper::test::Bytes;
using lorrin::keeper::test::XClient;

using Saved = std::vector<std::pair<xcb_atom_t, Bytes>>;

void say(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

Saved save(XClient& x) {
    Saved saved;
    for (const std::string& target : x.targets("CLIPBOARD")) {
        if (target == "TARGETS" || target == "TIMESTAMP" || target == "MULTIPLE" ||
            target == "SAVE_TARGETS")
            continue;
        if (auto bytes = x.read("CLIPBOARD", target)) saved.emplace_back(x.atom(target), *bytes);
    }
    return saved;
}

bool serve(XClient& x, const Saved& saved, xcb_atom_t target, xcb_window_t requestor,
           xcb_atom_t property) {
    if (target == x.atom("TARGETS")) {
        std::vector<xcb_atom_t> atoms = {target};
        for (const auto& form : saved) atoms.push_back(form.first);
        xcb_change_property(x.connection(), XCB_PROP_MODE_REPLACE, requestor, property,
                            XCB_ATOM_ATOM, 32, static_cast<std::uint32_t>(atoms.size()),
                            atoms.data());
        return true;
    }
    for (const auto& [atom, bytes] : saved) {
        if (atom != target) continue;
        xcb_change_property(x.connection(), XCB_PROP_MODE_REPLACE, requestor, property, target, 8,
                            static_cast<std::uint32_t>(bytes.size()), bytes.data());
        return true;
    }
    return false;
}

void reply(XClient& x, const xcb_selection_request_event_t& request, xcb_atom_t property,
           bool done) {
    lorrin::keeper::sendSelectionNotice(x.connection(), request,
                                        done ? property : xcb_atom_t{XCB_NONE});
    xcb_flush(x.connection());
}

// The clipboard once its owner has gone, when that happens within a few seconds.
bool takeOverWhenOwnerLeaves(XClient& x) {
    for (int tries = 0; tries < 250 && x.owner("CLIPBOARD") != XCB_NONE; ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return x.own("CLIPBOARD");
}

}  // namespace

int main() {
    XClient x;
    if (!x.connected() || !x.own("CLIPBOARD_MANAGER")) return 1;
    const xcb_atom_t clipboard = x.atom("CLIPBOARD");
    const xcb_atom_t manager = x.atom("CLIPBOARD_MANAGER");
    const xcb_atom_t saveTargets = x.atom("SAVE_TARGETS");
    say("ready");
    Saved saved;
    while (x.connected()) {
        const auto event = x.waitFor(
            [](const xcb_generic_event_t& e) {
                const int type = e.response_type & 0x7F;
                return type == XCB_SELECTION_REQUEST || type == XCB_SELECTION_CLEAR;
            },
            std::chrono::hours(1));
        if (!event) continue;
        if ((event->response_type & 0x7F) == XCB_SELECTION_CLEAR) {
            saved.clear();
            continue;
        }
        const auto request = *reinterpret_cast<const xcb_selection_request_event_t*>(event.get());
        const xcb_atom_t property =
            request.property == XCB_NONE ? request.target : request.property;
        if (request.selection == manager && request.target == saveTargets) {
            saved = save(x);
            say("saved " + std::to_string(saved.size()));
            reply(x, request, property, !saved.empty());
            if (!saved.empty() && takeOverWhenOwnerLeaves(x)) say("serving");
        } else {
            reply(x, request, property,
                  request.selection == clipboard &&
                      serve(x, saved, request.target, request.requestor, property));
        }
    }
    return 0;
}
