#include "x_session.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <string>

namespace lorrin::keeper::test {
namespace {

using xcb::Reply;

int typeOf(const xcb_generic_event_t& event) { return event.response_type & 0x7F; }

}  // namespace

XServer::XServer() {
    int display[2];
    if (pipe(display) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
        close(display[0]);
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, STDERR_FILENO);
        const std::string fd = std::to_string(display[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "640x480x24", "-noreset",
               "-nolisten", "tcp", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(display[1]);
    std::string number;
    for (char c = 0; read(display[0], &c, 1) == 1 && c != '\n';) number += c;
    close(display[0]);
    if (number.empty()) {
        stop();
        return;
    }
    setenv("DISPLAY", (":" + number).c_str(), 1);
}

XServer::~XServer() { stop(); }

void XServer::stop() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    pid_ = 0;
}

XClient::XClient() : connection_(xcb_connect(nullptr, nullptr)), window_(XCB_NONE) {
    if (!connected()) return;
    window_ = xcb_generate_id(connection_);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    const std::uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window_, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK,
                      &events);
    xcb_flush(connection_);
}

XClient::~XClient() { xcb_disconnect(connection_); }

xcb_atom_t XClient::atom(std::string_view name) const { return xcb::internAtom(connection_, name); }

std::string XClient::name(xcb_atom_t atom) const {
    const Reply<xcb_get_atom_name_reply_t> reply(
        xcb_get_atom_name_reply(connection_, xcb_get_atom_name(connection_, atom), nullptr));
    if (!reply) return {};
    return {xcb_get_atom_name_name(reply.get()),
            static_cast<std::size_t>(xcb_get_atom_name_name_length(reply.get()))};
}

xcb_window_t XClient::owner(std::string_view selection) const {
    return xcb::selectionOwner(connection_, atom(selection));
}

xcb_timestamp_t XClient::now() {
    const xcb_atom_t clock = atom("LORRIN_TEST_CLOCK");
    xcb_change_property(connection_, XCB_PROP_MODE_APPEND, window_, clock, XCB_ATOM_STRING, 8, 0,
                        nullptr);
    const Event notice = waitFor(
        [&](const xcb_generic_event_t& e) {
            return typeOf(e) == XCB_PROPERTY_NOTIFY &&
                   reinterpret_cast<const xcb_property_notify_event_t&>(e).atom == clock;
        },
        std::chrono::seconds(2));
    return notice ? reinterpret_cast<const xcb_property_notify_event_t*>(notice.get())->time
                  : xcb_timestamp_t{XCB_CURRENT_TIME};
}

bool XClient::own(std::string_view selection) {
    xcb_set_selection_owner(connection_, window_, atom(selection), now());
    return owner(selection) == window_;
}

std::optional<xcb_atom_t> XClient::ask(xcb_atom_t selection, xcb_atom_t target, xcb_atom_t property,
                                       std::chrono::milliseconds limit) {
    xcb_convert_selection(connection_, window_, selection, target, property, XCB_CURRENT_TIME);
    const Event answer = waitFor(
        [&](const xcb_generic_event_t& e) {
            const auto& notice = reinterpret_cast<const xcb_selection_notify_event_t&>(e);
            return typeOf(e) == XCB_SELECTION_NOTIFY && notice.requestor == window_ &&
                   notice.target == target;
        },
        limit);
    if (!answer) return std::nullopt;
    return reinterpret_cast<const xcb_selection_notify_event_t*>(answer.get())->property;
}

std::optional<std::pair<xcb_atom_t, Bytes>> XClient::take(xcb_atom_t property) {
    const Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(connection_,
                               xcb_get_property(connection_, 1, window_, property,
                                                XCB_GET_PROPERTY_TYPE_ANY, 0, UINT32_MAX / 4),
                               nullptr));
    if (!reply || reply->type == XCB_ATOM_NONE) return std::nullopt;
    const auto* value = static_cast<const std::uint8_t*>(xcb_get_property_value(reply.get()));
    const auto length = static_cast<std::size_t>(xcb_get_property_value_length(reply.get()));
    return std::make_pair(reply->type, Bytes(value, value + length));
}

std::optional<Bytes> XClient::read(std::string_view selection, std::string_view target,
                                   std::chrono::milliseconds limit) {
    const xcb_atom_t property = atom("LORRIN_TEST_PASTE");
    const auto answer = ask(atom(selection), atom(target), property, limit);
    if (!answer || *answer == XCB_ATOM_NONE) return std::nullopt;
    auto first = take(property);
    if (!first) return std::nullopt;
    if (first->first != atom("INCR")) return std::move(first->second);
    // Each piece arrives as a new value of the property; an empty one ends the form.
    Bytes whole;
    for (;;) {
        const Event piece = waitFor(
            [&](const xcb_generic_event_t& e) {
                const auto& notice = reinterpret_cast<const xcb_property_notify_event_t&>(e);
                return typeOf(e) == XCB_PROPERTY_NOTIFY && notice.window == window_ &&
                       notice.atom == property && notice.state == XCB_PROPERTY_NEW_VALUE;
            },
            limit);
        auto bytes = piece ? take(property) : std::nullopt;
        if (!bytes) return std::nullopt;
        if (bytes->second.empty()) return whole;
        whole.insert(whole.end(), bytes->second.begin(), bytes->second.end());
    }
}

std::vector<std::string> XClient::targets(std::string_view selection) {
    std::vector<std::string> names;
    const auto atoms = read(selection, "TARGETS");
    if (!atoms) return names;
    for (std::size_t i = 0; i + 4 <= atoms->size(); i += 4) {
        xcb_atom_t a = 0;
        std::memcpy(&a, atoms->data() + i, 4);
        names.push_back(name(a));
    }
    return names;
}

Event XClient::waitFor(const std::function<bool(const xcb_generic_event_t&)>& wanted,
                       std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    xcb_flush(connection_);
    for (;;) {
        while (Event event{xcb_poll_for_event(connection_)})
            if (wanted(*event)) return event;
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (!connected() || left.count() <= 0) return nullptr;
        pollfd ready{xcb_get_file_descriptor(connection_), POLLIN, 0};
        poll(&ready, 1, static_cast<int>(left.count()));
    }
}

}  // namespace lorrin::keeper::test
