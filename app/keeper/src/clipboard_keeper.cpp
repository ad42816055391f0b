#include "clipboard_keeper.h"

#include "selection_notice.h"
#include "lorrin/keeper/xcb_calls.h"

#include <poll.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace lorrin::keeper {
namespace {

// An asker that takes no piece of a transfer for this long has stopped reading: the
// transfer is dropped.
constexpr std::chrono::seconds kIdleLimit{5};
// The largest property written at once; a larger form goes in pieces of this size.
constexpr std::size_t kMaxPiece = std::size_t{256} * 1024;
// Room in a request for its own fields besides the property's bytes.
constexpr std::size_t kRequestFields = 64;
// At most this many transfers at once, and this many targets in one MULTIPLE request.
constexpr std::size_t kMaxTransfers = 64;
constexpr std::uint32_t kMaxPairs = 64;
constexpr std::string_view kWindowName = "lorrin-keeper";
// The bit of an event's type that marks it sent by a client, not by the server.
constexpr std::uint8_t kSentByAClient = 0x80;

using xcb::internAtoms;
using xcb::Reply;

// Server times wrap around after 49 days; the nearer way round decides.
bool before(xcb_timestamp_t a, xcb_timestamp_t b) { return static_cast<std::int32_t>(a - b) < 0; }

template <typename T>
void setProperty(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property,
                 xcb_atom_t type, std::span<const T> values) {
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, property, type,
                        static_cast<std::uint8_t>(sizeof(T) * 8),
                        static_cast<std::uint32_t>(values.size()), values.data());
}

void watchProperties(xcb_connection_t* connection, xcb_window_t window, bool watch) {
    const std::uint32_t events = watch ? XCB_EVENT_MASK_PROPERTY_CHANGE : XCB_EVENT_MASK_NO_EVENT;
    xcb_change_window_attributes(connection, window, XCB_CW_EVENT_MASK, &events);
}

template <typename Event>
const Event& as(const xcb_generic_event_t& event) {
    return reinterpret_cast<const Event&>(event);
}

}  // namespace

ClipboardKeeper::ClipboardKeeper(std::vector<Format> forms)
    : forms_(std::move(forms)), connection_(xcb_connect(nullptr, nullptr)) {}

ClipboardKeeper::~ClipboardKeeper() { xcb_disconnect(connection_); }

std::string ClipboardKeeper::take() {
    if (xcb_connection_has_error(connection_) != 0) {
        const char* display = std::getenv("DISPLAY");
        if (display == nullptr || *display == '\0')
            return "no X display: DISPLAY is not set (the clipboard is kept on X11, through "
                   "XWayland on a Wayland session)";
        return std::string("cannot open the X display ") + display;
    }
    const auto atoms = internAtoms(
        connection_, std::array<std::string_view, 9>{
                         "CLIPBOARD", "TARGETS", "TIMESTAMP", "MULTIPLE", "INCR", "ATOM_PAIR",
                         "CLIPBOARD_MANAGER", "SAVE_TARGETS", "LORRIN_KEEPER_SAVED"});
    atoms_ = {atoms[0], atoms[1], atoms[2], atoms[3], atoms[4],
              atoms[5], atoms[6], atoms[7], atoms[8]};
    std::vector<std::string_view> names;
    for (const Format& form : forms_) names.emplace_back(form.mimeType);
    formAtoms_ = internAtoms(connection_, names);
    const std::size_t maxRequest = std::size_t{xcb_get_maximum_request_length(connection_)} * 4;
    piece_ = std::min(kMaxPiece, maxRequest - kRequestFields);

    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    window_ = xcb_generate_id(connection_);
    const std::uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window_, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK,
                      &events);
    // Naming the window brings the server's time, which taking the clipboard needs.
    setProperty<char>(connection_, window_, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, kWindowName);
    xcb_flush(connection_);
    while (const Reply<xcb_generic_event_t> event{xcb_wait_for_event(connection_)}) {
        if ((event->response_type & 0x7F) != XCB_PROPERTY_NOTIFY) continue;
        time_ = as<xcb_property_notify_event_t>(*event).time;
        break;
    }
    if (xcb_connection_has_error(connection_) != 0) return "lost the X display";

    xcb_set_selection_owner(connection_, window_, atoms_.clipboard, time_);
    if (xcb::selectionOwner(connection_, atoms_.clipboard) != window_)
        return "another program took the clipboard at the same moment";
    // A clipboard manager saves the forms and serves them itself (its answer ends the
    // keeper); until it answers, and when it refuses, the keeper serves them.
    askedManager_ = xcb::selectionOwner(connection_, atoms_.manager) != XCB_NONE;
    if (askedManager_)
        xcb_convert_selection(connection_, window_, atoms_.manager, atoms_.saveTargets,
                              atoms_.saved, time_);
    xcb_flush(connection_);
    return {};
}

void ClipboardKeeper::serve() {
    const int socket = xcb_get_file_descriptor(connection_);
    for (;;) {
        xcb_flush(connection_);
        if (const Reply<xcb_generic_event_t> event{xcb_poll_for_event(connection_)}) {
            if (!handle(*event)) return;
            continue;
        }
        if (xcb_connection_has_error(connection_) != 0) return;
        pollfd ready{socket, POLLIN, 0};
        poll(&ready, 1, msUntilNextDeadline());
        dropIdleTransfers();
    }
}

bool ClipboardKeeper::earlierDeadline(const Transfer& a, const Transfer& b) {
    return a.deadline < b.deadline;
}

bool ClipboardKeeper::handle(const xcb_generic_event_t& event) {
    switch (event.response_type & 0x7F) {
        case 0: {
            // An asker's window that went away takes its transfers with it.
            const xcb_window_t gone = as<xcb_generic_error_t>(event).resource_id;
            std::erase_if(transfers_, [gone](const Transfer& t) { return t.requestor == gone; });
            return true;
        }
        case XCB_SELECTION_REQUEST: answer(as<xcb_selection_request_event_t>(event)); return true;
        case XCB_SELECTION_CLEAR:
            // Only the server takes the clipboard away; another client's SelectionClear
            // (sent as an event of its own) leaves it with the keeper.
            return (event.response_type & kSentByAClient) != 0 ||
                   as<xcb_selection_clear_event_t>(event).selection != atoms_.clipboard;
        case XCB_PROPERTY_NOTIFY: {
            const auto& notice = as<xcb_property_notify_event_t>(event);
            if (notice.state == XCB_PROPERTY_DELETE) continueTransfer(notice.window, notice.atom);
            return true;
        }
        case XCB_SELECTION_NOTIFY: {
            const auto& notice = as<xcb_selection_notify_event_t>(event);
            const bool saved = askedManager_ && notice.selection == atoms_.manager &&
                               notice.target == atoms_.saveTargets && notice.property != XCB_NONE;
            return !saved;
        }
        default: return true;
    }
}

void ClipboardKeeper::answer(const xcb_selection_request_event_t& request) {
    // An asker of the old kind names no property: the target's name is the property.
    const xcb_atom_t property = request.property == XCB_NONE ? request.target : request.property;
    const bool ours = request.selection == atoms_.clipboard && request.owner == window_ &&
                      (request.time == XCB_CURRENT_TIME || !before(request.time, time_));
    const bool converted = ours && (request.target == atoms_.multiple
                                        ? convertMultiple(request.requestor, property)
                                        : convert(request.requestor, request.target, property));
    sendSelectionNotice(connection_, request, converted ? property : xcb_atom_t{XCB_NONE});
}

bool ClipboardKeeper::convert(xcb_window_t requestor, xcb_atom_t target, xcb_atom_t property) {
    if (property == XCB_NONE) return false;
    if (target == atoms_.targets) {
        std::vector<xcb_atom_t> offered = {atoms_.targets, atoms_.timestamp, atoms_.multiple};
        offered.insert(offered.end(), formAtoms_.begin(), formAtoms_.end());
        setProperty<xcb_atom_t>(connection_, requestor, property, XCB_ATOM_ATOM, offered);
        return true;
    }
    if (target == atoms_.timestamp) {
        setProperty<xcb_timestamp_t>(connection_, requestor, property, XCB_ATOM_INTEGER,
                                     std::span(&time_, 1));
        return true;
    }
    const auto form = std::find(formAtoms_.begin(), formAtoms_.end(), target);
    if (form == formAtoms_.end()) return false;
    const auto index = static_cast<std::size_t>(form - formAtoms_.begin());
    const std::vector<std::uint8_t>& bytes = forms_[index].bytes;
    if (bytes.size() <= piece_) {
        setProperty<std::uint8_t>(connection_, requestor, property, target, bytes);
        return true;
    }
    // At the limit the transfer idle the longest gives way: askers that have stopped
    // reading would otherwise keep every later one out until they time out.
    if (transfers_.size() >= kMaxTransfers)
        endTransfer(std::min_element(transfers_.begin(), transfers_.end(), earlierDeadline));
    startTransfer(requestor, property, index);
    return true;
}

bool ClipboardKeeper::convertMultiple(xcb_window_t requestor, xcb_atom_t property) {
    const Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(connection_,
                               xcb_get_property(connection_, 0, requestor, property,
                                                XCB_GET_PROPERTY_TYPE_ANY, 0, 2 * kMaxPairs),
                               nullptr));
    // A list longer than the limit is refused whole: answered in part, it would read as
    // a shorter list.  So is one with an atom left over.
    if (!reply || reply->format != 32 || reply->bytes_after != 0) return false;
    const auto* values = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    std::vector<xcb_atom_t> pairs(
        values, values + xcb_get_property_value_length(reply.get()) / sizeof(xcb_atom_t));
    if (pairs.size() % 2 != 0) return false;
    for (std::size_t i = 0; i < pairs.size(); i += 2)
        if (pairs[i] == atoms_.multiple || !convert(requestor, pairs[i], pairs[i + 1]))
            pairs[i + 1] = XCB_NONE;
    setProperty<xcb_atom_t>(connection_, requestor, property, atoms_.atomPair, pairs);
    return true;
}

void ClipboardKeeper::startTransfer(xcb_window_t requestor, xcb_atom_t property, std::size_t form) {
    // A new request for the same property replaces one that did not finish.
    std::erase_if(transfers_, [&](const Transfer& t) {
        return t.requestor == requestor && t.property == property;
    });
    watchProperties(connection_, requestor, true);
    const auto size = static_cast<std::uint32_t>(forms_[form].bytes.size());
    setProperty<std::uint32_t>(connection_, requestor, property, atoms_.incr, std::span(&size, 1));
    transfers_.push_back(
        {requestor, property, form, 0, std::chrono::steady_clock::now() + kIdleLimit});
}

// The asker took the last piece (it deleted the property): the next one, and after the
// last an empty one, which ends the transfer.
void ClipboardKeeper::continueTransfer(xcb_window_t requestor, xcb_atom_t property) {
    const auto transfer = std::find_if(
        transfers_.begin(), transfers_.end(),
        [&](const Transfer& t) { return t.requestor == requestor && t.property == property; });
    if (transfer == transfers_.end()) return;
    const std::vector<std::uint8_t>& bytes = forms_[transfer->form].bytes;
    const std::size_t piece = std::min(piece_, bytes.size() - transfer->sent);
    setProperty<std::uint8_t>(connection_, requestor, property, formAtoms_[transfer->form],
                              std::span(bytes).subspan(transfer->sent, piece));
    if (piece == 0) {
        endTransfer(transfer);
        return;
    }
    transfer->sent += piece;
    transfer->deadline = std::chrono::steady_clock::now() + kIdleLimit;
}

void ClipboardKeeper::endTransfer(std::vector<Transfer>::iterator transfer) {
    const xcb_window_t requestor = transfer->requestor;
    transfers_.erase(transfer);
    if (std::none_of(transfers_.begin(), transfers_.end(),
                     [&](const Transfer& t) { return t.requestor == requestor; }))
        watchProperties(connection_, requestor, false);
}

void ClipboardKeeper::dropIdleTransfers() {
    const auto now = std::chrono::steady_clock::now();
    for (auto t = transfers_.begin(); t != transfers_.end();) {
        if (t->deadline > now) {
            ++t;
            continue;
        }
        const auto at = t - transfers_.begin();
        endTransfer(t);
        t = transfers_.begin() + at;
    }
}

int ClipboardKeeper::msUntilNextDeadline() const {
    if (transfers_.empty()) return -1;
    const auto next =
        std::min_element(transfers_.begin(), transfers_.end(), earlierDeadline)->deadline;
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(next - std::chrono::steady_clock::now());
    return static_cast<int>(std::max<std::int64_t>(left.count(), 0));
}

}  // namespace lorrin::keeper
