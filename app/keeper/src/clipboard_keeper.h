// The keeper's hold on the X clipboard: it takes the clipboard and serves the picture's
// forms to whoever asks, large ones in pieces (INCR), each asker at its own pace.
#pragma once

#include "lorrin/keeper/handover.h"

#include <xcb/xcb.h>

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

namespace lorrin::keeper {

class ClipboardKeeper {
public:
    // Connects to the display that DISPLAY names.
    explicit ClipboardKeeper(std::vector<Format> forms);
    ~ClipboardKeeper();
    ClipboardKeeper(const ClipboardKeeper&) = delete;
    ClipboardKeeper& operator=(const ClipboardKeeper&) = delete;

    // Takes the clipboard, and asks a clipboard manager, where one runs, to save the
    // forms.  "" when the clipboard is held, else why it is not.
    std::string take();

    // Serves the clipboard until another program takes it, a clipboard manager has saved
    // the forms, or the connection to the display is lost.
    void serve();

private:
    struct Atoms {
        xcb_atom_t clipboard, targets, timestamp, multiple, incr, atomPair, manager, saveTargets,
            saved;
    };
    // A form going to one asker in pieces: the next piece when it deletes the last.
    struct Transfer {
        xcb_window_t requestor;
        xcb_atom_t property;
        std::size_t form;  // its index in forms_
        std::size_t sent;
        std::chrono::steady_clock::time_point deadline;
    };

    static bool earlierDeadline(const Transfer& a, const Transfer& b);
    bool handle(const xcb_generic_event_t& event);
    void answer(const xcb_selection_request_event_t& request);
    bool convert(xcb_window_t requestor, xcb_atom_t target, xcb_atom_t property);
    bool convertMultiple(xcb_window_t requestor, xcb_atom_t property);
    void startTransfer(xcb_window_t requestor, xcb_atom_t property, std::size_t form);
    void continueTransfer(xcb_window_t requestor, xcb_atom_t property);
    void endTransfer(std::vector<Transfer>::iterator transfer);
    void dropIdleTransfers();
    int msUntilNextDeadline() const;

    std::vector<Format> forms_;
    std::vector<xcb_atom_t> formAtoms_;  // the target of each form
    xcb_connection_t* connection_;
    xcb_window_t window_ = XCB_NONE;
    Atoms atoms_{};
    xcb_timestamp_t time_ = XCB_CURRENT_TIME;  // when the clipboard became ours
    std::size_t piece_ = 0;                    // the largest property written at once
    bool askedManager_ = false;                // to save the forms
    std::vector<Transfer> transfers_;
};

}  // namespace lorrin::keeper
