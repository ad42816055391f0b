// The keeper on an X server of the test's own: what it serves, to whom, for how long, and
// what it leaves of its starter; and the handover it reads.
#include "lorrin/keeper/handover.h"
#include "selection_notice.h"
#include "x_session.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <thread>

namespace lorrin::keeper {
namespace {

using namespace std::chrono_literals;
using test::Bytes;

constexpr std::size_t kPiece = std::size_t{256} * 1024;  // the keeper's largest property

Bytes pattern(std::size_t size, unsigned seed) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>((i * 131 + (i >> 9) + seed) & 0xFF);
    return bytes;
}

Bytes handover(const std::vector<Format>& forms) {
    Bytes stream;
    for (const Format& form : forms) {
        const Bytes head = formatHead(form);
        stream.insert(stream.end(), head.begin(), head.end());
        stream.insert(stream.end(), form.bytes.begin(), form.bytes.end());
    }
    return stream;
}

std::optional<std::vector<Format>> readFrom(const Bytes& stream) {
    std::size_t at = 0;
    return readHandover([&](std::span<std::uint8_t> into) {
        const std::size_t n = std::min(into.size(), stream.size() - at);
        std::copy_n(stream.begin() + static_cast<std::ptrdiff_t>(at), n, into.begin());
        at += n;
        return n;
    });
}

// Gone, or a zombie that no one has reaped yet.
bool ended(int pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    const std::string line{std::istreambuf_iterator<char>(stat), std::istreambuf_iterator<char>()};
    const std::size_t name = line.rfind(')');
    return !stat || name == std::string::npos || line.substr(name + 2, 1) == "Z";
}

bool endsWithin(int pid, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!ended(pid)) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

TEST(Handover, ReadsWhatIsWrittenAndRefusesAnythingElse) {
    const std::vector<Format> two = {{"image/png", pattern(300, 1)}, {"image/svg+xml", {}}};
    const Bytes good = handover(two);
    const auto read = readFrom(good);
    ASSERT_TRUE(read);
    ASSERT_EQ(read->size(), 2u);
    for (std::size_t i = 0; i < two.size(); ++i) {
        EXPECT_EQ((*read)[i].mimeType, two[i].mimeType) << "form " << i;
        EXPECT_EQ((*read)[i].bytes, two[i].bytes) << "form " << i;
    }

    Bytes oversized = handover({{"image/png", {}}});
    oversized[oversized.size() - 1] = 0x40;  // 2^30, and one more below
    oversized[oversized.size() - 4] = 0x01;
    std::vector<Format> many;
    for (std::size_t i = 0; i <= kMaxFormats; ++i) many.push_back({"f" + std::to_string(i), {}});
    const std::array<std::pair<const char*, Bytes>, 9> refused = {{
        /* 0 */ {"nothing", {}},
        /* 1 */ {"a nameless form", {0, 0, 0, 0, 0}},
        /* 2 */ {"a cut name", Bytes(good.begin(), good.begin() + 5)},
        /* 3 */ {"a cut length", Bytes(good.begin(), good.begin() + 12)},
        /* 4 */ {"cut bytes", Bytes(good.begin(), good.end() - 30)},
        /* 5 */ {"a blank in a name", handover({{"image/ png", {1}}})},
        /* 6 */ {"a name twice", handover({{"a", {1}}, {"a", {2}}})},
        /* 7 */ {"too many forms", handover(many)},
        /* 8 */ {"a form over the limit", oversized},
    }};
    for (const auto& [what, stream] : refused) EXPECT_FALSE(readFrom(stream)) << what;
}

TEST(Handover, AProgramThatNeverAnswersIsNotWaitedFor) {
    // It reads nothing, says nothing and would not end for a minute.
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("lorrin-keeper-test-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::filesystem::path program = folder / "lorrin-keeper";
    std::ofstream(program) << "#!/bin/sh\necho $$ > \"$0.pid\"\nexec sleep 60\n";
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);

    const auto began = std::chrono::steady_clock::now();
    const Started keeper = startKeeper(program, std::vector<Format>{{"image/png", {1}}});
    EXPECT_LT(std::chrono::steady_clock::now() - began, 10s);
    EXPECT_EQ(keeper.failure, "the keeper gave no answer");
    int pid = 0;
    std::ifstream(program.string() + ".pid") >> pid;
    EXPECT_GT(pid, 0);
    EXPECT_TRUE(endsWithin(pid, 1s)) << "the program is left running";
    std::filesystem::remove_all(folder);
}

class Keeper : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server_.running()) << "Xvfb did not start";
        ASSERT_TRUE(client_.connected());
    }
    static Started start(const std::vector<Format>& forms) {
        return startKeeper(LORRIN_KEEPER_PATH, forms);
    }
    test::XServer server_;  // sets DISPLAY for the client and the keepers
    test::XClient client_;
};

TEST_F(Keeper, ServesEveryFormInOnePieceOrInMany) {
    const std::vector<Format> forms = {
        {"image/png", pattern(1, 1)},
        {"image/bmp", pattern(kPiece, 2)},
        {"image/svg+xml", pattern(kPiece + 1, 3)},
        {"application/x-large", pattern(3 * kPiece + 7, 4)},
    };
    const Started keeper = start(forms);
    ASSERT_TRUE(keeper.ok()) << keeper.failure;
    std::vector<std::string> expected = {"TARGETS", "TIMESTAMP", "MULTIPLE"};
    for (const Format& form : forms) expected.push_back(form.mimeType);
    EXPECT_EQ(client_.targets("CLIPBOARD"), expected);
    for (const Format& form : forms) {
        const auto bytes = client_.read("CLIPBOARD", form.mimeType);
        ASSERT_TRUE(bytes) << form.mimeType;
        EXPECT_TRUE(*bytes == form.bytes) << form.mimeType << ": " << bytes->size() << " bytes";
    }
    EXPECT_FALSE(client_.read("CLIPBOARD", "UTF8_STRING"));
}

TEST_F(Keeper, ConvertsEachPairOfAMultipleRequest) {
    ASSERT_TRUE(start({{"image/png", pattern(10, 1)}, {"image/bmp", pattern(20, 2)}}).ok());
    const std::array<xcb_atom_t, 6> pairs = {client_.atom("image/bmp"),  client_.atom("P1"),
                                             client_.atom("text/plain"), client_.atom("P2"),
                                             client_.atom("image/png"),  client_.atom("P3")};
    const xcb_atom_t request = client_.atom("PAIRS");
    xcb_change_property(client_.connection(), XCB_PROP_MODE_REPLACE, client_.window(), request,
                        client_.atom("ATOM_PAIR"), 32, pairs.size(), pairs.data());
    const auto answer =
        client_.ask(client_.atom("CLIPBOARD"), client_.atom("MULTIPLE"), request, 2s);
    ASSERT_EQ(answer, std::optional<xcb_atom_t>(request));
    const auto answered = client_.take(request);
    ASSERT_TRUE(answered);
    ASSERT_EQ(answered->second.size(), sizeof pairs);
    std::array<xcb_atom_t, 6> result{};
    std::memcpy(result.data(), answered->second.data(), sizeof result);
    EXPECT_EQ(result[1], pairs[1]);
    EXPECT_EQ(result[3], xcb_atom_t{XCB_ATOM_NONE}) << "text/plain is not offered";
    EXPECT_EQ(result[5], pairs[5]);
    EXPECT_EQ(client_.take(pairs[1])->second, pattern(20, 2));
    EXPECT_EQ(client_.take(pairs[5])->second, pattern(10, 1));
}

TEST_F(Keeper, RefusesAMultipleRequestThatIsNoListOfPairs) {
    ASSERT_TRUE(start({{"image/png", pattern(10, 1)}}).ok());
    const xcb_atom_t png = client_.atom("image/png");
    const xcb_atom_t into = client_.atom("P1");
    std::vector<xcb_atom_t> tooMany;
    for (int i = 0; i < 65; ++i) tooMany.insert(tooMany.end(), {png, into});
    struct Row {
        const char* what;
        std::uint8_t format;  // 0: no property at all
        std::vector<xcb_atom_t> atoms;
    };
    const std::array<Row, 4> rows = {{
        {"no property", 0, {}},
        {"bytes, not atoms", 8, {png, into}},
        {"an atom left over", 32, {png, into, png}},
        {"more pairs than are answered", 32, tooMany},
    }};
    const xcb_atom_t request = client_.atom("PAIRS");
    for (const Row& row : rows) {
        xcb_delete_property(client_.connection(), client_.window(), request);
        if (row.format != 0)
            xcb_change_property(client_.connection(), XCB_PROP_MODE_REPLACE, client_.window(),
                                request, client_.atom("ATOM_PAIR"), row.format,
                                static_cast<std::uint32_t>(row.atoms.size() * 32 / row.format),
                                row.atoms.data());
        EXPECT_EQ(client_.ask(client_.atom("CLIPBOARD"), client_.atom("MULTIPLE"), request, 2s),
                  std::optional<xcb_atom_t>(XCB_ATOM_NONE))
            << row.what;
    }
}

TEST_F(Keeper, AskersThatStopReadingHoldNobodyUp) {
    const Bytes large = pattern(4 * kPiece, 5);
    ASSERT_TRUE(start({{"image/bmp", large}}).ok());
    // One asker, and then more than the keeper serves at once, take the announcement of
    // the pieces, which brings the first piece, and then take nothing more.
    std::vector<std::unique_ptr<test::XClient>> stalled;
    for (const std::size_t askers : {1, 70}) {
        while (stalled.size() < askers) {
            auto& asker = stalled.emplace_back(std::make_unique<test::XClient>());
            const xcb_atom_t property = asker->atom("STALLED");
            ASSERT_EQ(asker->ask(asker->atom("CLIPBOARD"), asker->atom("image/bmp"), property, 2s),
                      std::optional<xcb_atom_t>(property));
            ASSERT_EQ(asker->take(property)->first, asker->atom("INCR"));
        }
        const auto began = std::chrono::steady_clock::now();
        const auto bytes = client_.read("CLIPBOARD", "image/bmp");
        ASSERT_TRUE(bytes) << askers << " stalled";
        EXPECT_TRUE(*bytes == large) << askers << " stalled";
        EXPECT_LT(std::chrono::steady_clock::now() - began, 1s) << askers << " stalled";
    }
}

TEST_F(Keeper, EndsWhenAnotherProgramTakesTheClipboard) {
    for (const bool anotherKeeper : {false, true}) {
        const Started first = start({{"image/png", pattern(10, 1)}});
        ASSERT_TRUE(first.ok()) << first.failure;
        if (anotherKeeper) {
            ASSERT_TRUE(start({{"image/png", pattern(10, 2)}}).ok());
            EXPECT_EQ(client_.read("CLIPBOARD", "image/png"), pattern(10, 2));
        } else {
            ASSERT_TRUE(client_.own("CLIPBOARD"));
        }
        EXPECT_TRUE(endsWithin(first.pid, 1s)) << (anotherKeeper ? "another keeper" : "a copy");
    }
}

// Events another client sends the keeper's window, as if the server or a clipboard
// manager had sent them.
xcb_selection_clear_event_t forgedClear(test::XClient& x) {
    xcb_selection_clear_event_t clear{};
    clear.response_type = XCB_SELECTION_CLEAR;
    clear.owner = x.owner("CLIPBOARD");
    clear.selection = x.atom("CLIPBOARD");
    return clear;
}

xcb_selection_notify_event_t forgedSaved(test::XClient& x) {
    xcb_selection_notify_event_t saved{};
    saved.response_type = XCB_SELECTION_NOTIFY;
    saved.requestor = x.owner("CLIPBOARD");
    saved.selection = x.atom("CLIPBOARD_MANAGER");
    saved.target = x.atom("SAVE_TARGETS");
    saved.property = x.atom("LORRIN_KEEPER_SAVED");
    return saved;
}

TEST_F(Keeper, KeepsTheClipboardWhenAClientOnlySaysItIsTakenOrSaved) {
    const std::array<std::pair<const char*, std::function<void()>>, 2> forged = {{
        {"SelectionClear",
         [&] {
             sendEvent(client_.connection(), client_.owner("CLIPBOARD"), forgedClear(client_));
         }},
        {"saved by a clipboard manager that was never asked",
         [&] {
             sendEvent(client_.connection(), client_.owner("CLIPBOARD"), forgedSaved(client_));
         }},
    }};
    for (const auto& [what, send] : forged) {
        const Started keeper = start({{"image/png", pattern(10, 1)}});
        ASSERT_TRUE(keeper.ok()) << keeper.failure;
        send();
        EXPECT_EQ(client_.read("CLIPBOARD", "image/png"), pattern(10, 1)) << what;
        EXPECT_FALSE(ended(keeper.pid)) << what;
    }
}

TEST_F(Keeper, AnswersWithNothingButTheAnswer) {
    ASSERT_TRUE(start({{"image/png", pattern(10, 1)}}).ok());
    // An event is 32 bytes, an answer's fields 24: the rest is nothing of the keeper's.
    for (const char* target : {"image/png", "TARGETS", "text/plain"}) {
        xcb_convert_selection(client_.connection(), client_.window(), client_.atom("CLIPBOARD"),
                              client_.atom(target), client_.atom("P"), XCB_CURRENT_TIME);
        const test::Event answer = client_.waitFor(
            [](const xcb_generic_event_t& e) {
                return (e.response_type & 0x7F) == XCB_SELECTION_NOTIFY;
            },
            2s);
        ASSERT_TRUE(answer) << target;
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(answer.get());
        EXPECT_TRUE(std::all_of(bytes + sizeof(xcb_selection_notify_event_t), bytes + 32,
                                [](std::uint8_t b) { return b == 0; }))
            << target;
    }
}

TEST_F(Keeper, EndsWhenTheDisplayGoes) {
    const Started keeper = start({{"image/png", pattern(10, 1)}});
    ASSERT_TRUE(keeper.ok()) << keeper.failure;
    server_.stop();
    EXPECT_TRUE(endsWithin(keeper.pid, 1s));
}

// The next line `out` gives within the limit, without its end; "" when none comes.  Read
// a byte at a time, so that no later line waits unseen in a buffer.
std::string lineWithin(std::FILE* out, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    std::string line;
    for (char c = 0; c != '\n';) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd ready{fileno(out), POLLIN, 0};
        if (left.count() <= 0 || poll(&ready, 1, static_cast<int>(left.count())) <= 0 ||
            read(fileno(out), &c, 1) != 1)
            return {};
        if (c != '\n') line += c;
    }
    return line;
}

TEST_F(Keeper, HandsItsFormsToAClipboardManagerAndEnds) {
    std::FILE* manager = popen(LORRIN_TEST_MANAGER, "r");
    ASSERT_NE(manager, nullptr);
    ASSERT_EQ(lineWithin(manager, 2s), "ready");
    const std::vector<Format> forms = {{"image/png", pattern(10, 1)},
                                       {"image/svg+xml", pattern(kPiece + 5, 2)}};
    const Started keeper = start(forms);
    ASSERT_TRUE(keeper.ok()) << keeper.failure;
    EXPECT_EQ(lineWithin(manager, 2s), "saved 2");
    EXPECT_TRUE(endsWithin(keeper.pid, 2s));
    EXPECT_EQ(lineWithin(manager, 2s), "serving");
    EXPECT_EQ(client_.read("CLIPBOARD", "image/png"), forms[0].bytes);
    server_.stop();  // the manager ends with its connection
    pclose(manager);
}

TEST_F(Keeper, KeepsNothingOfItsStarter) {
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);  // open in this process, as a terminal's pipe would be
    const Started keeper = start({{"image/png", pattern(10, 1)}});
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    ASSERT_TRUE(keeper.ok()) << keeper.failure;
    const std::filesystem::path proc = "/proc/" + std::to_string(keeper.pid);
    int files = 0;
    for (const auto& fd : std::filesystem::directory_iterator(proc / "fd")) {
        const std::string target = std::filesystem::read_symlink(fd).string();
        const int number = std::stoi(fd.path().filename().string());
        if (number <= STDERR_FILENO)
            EXPECT_EQ(target, "/dev/null") << "fd " << number;
        else
            EXPECT_TRUE(target.starts_with("socket:")) << "fd " << number << ": " << target;
        ++files;
    }
    EXPECT_EQ(files, 4) << "the standard streams and the X connection";
    EXPECT_EQ(std::filesystem::read_symlink(proc / "cwd"), "/");
    EXPECT_NE(getsid(keeper.pid), getsid(0));
}

TEST_F(Keeper, EndsItsFirstProcessWithZeroOnlyWhenItHoldsTheClipboard) {
    const std::filesystem::path stream = std::filesystem::temp_directory_path() /
                                         ("lorrin-keeper-stream-" + std::to_string(getpid()));
    const Bytes bytes = handover({{"image/png", {1}}});
    std::ofstream(stream, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    struct Row {
        const char* input;
        const char* display;  // "" for none
        int status;
    };
    const std::string display = std::getenv("DISPLAY");
    const std::array<Row, 4> rows = {{
        /* 0 */ {"/dev/null", display.c_str(), 1},
        /* 1 */ {stream.c_str(), "", 1},
        /* 2 */ {stream.c_str(), ":7919", 1},
        /* 3 */ {stream.c_str(), display.c_str(), 0},
    }};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::string command = std::string("DISPLAY=") + rows[i].display + " " +
                                    LORRIN_KEEPER_PATH + " < " + rows[i].input + " > /dev/null";
        const int status = std::system(command.c_str());
        EXPECT_TRUE(WIFEXITED(status)) << "row " << i;
        EXPECT_EQ(WEXITSTATUS(status), rows[i].status) << "row " << i;
    }
    std::filesystem::remove(stream);
}

// A display that takes connections and never answers them: a listening socket, never
// accepted from, where the X server of a display would be (libxcb tries the abstract
// name first, and an abstract name leaves no file behind).
class SilentDisplay {
public:
    SilentDisplay() {
        for (int number = 7900; number < 8000 && name_.empty(); ++number) {
            socket_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            const std::string path = "/tmp/.X11-unix/X" + std::to_string(number);
            std::memcpy(address.sun_path + 1, path.data(), path.size());
            const auto length =
                static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + path.size());
            if (bind(socket_, reinterpret_cast<const sockaddr*>(&address), length) == 0 &&
                listen(socket_, 8) == 0)
                name_ = ":" + std::to_string(number);
            else
                close(socket_);
        }
    }
    ~SilentDisplay() {
        if (!name_.empty()) close(socket_);
    }
    SilentDisplay(const SilentDisplay&) = delete;
    SilentDisplay& operator=(const SilentDisplay&) = delete;
    const std::string& name() const { return name_; }

private:
    int socket_ = -1;
    std::string name_;
};

TEST_F(Keeper, SaysWhyItDoesNotHoldTheClipboard) {
    const std::string display = std::getenv("DISPLAY");
    const SilentDisplay silent;
    ASSERT_FALSE(silent.name().empty());
    const std::string silence = "the X display " + silent.name() + " does not answer";
    struct Row {
        const char* display;  // nullptr: none set
        const char* program;
        const char* failure;  // the start of the answer
    };
    const std::array<Row, 4> rows = {{
        /* 0 */ {nullptr, LORRIN_KEEPER_PATH, "no X display: DISPLAY is not set"},
        /* 1 */ {":7919", LORRIN_KEEPER_PATH, "cannot open the X display :7919"},
        /* 2 */
        {display.c_str(), "/nonexistent/lorrin-keeper",
         "cannot start /nonexistent/lorrin-keeper: "},
        /* 3 */ {silent.name().c_str(), LORRIN_KEEPER_PATH, silence.c_str()},
    }};
    const std::vector<Format> forms = {{"image/png", {1}}};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].display == nullptr)
            unsetenv("DISPLAY");
        else
            setenv("DISPLAY", rows[i].display, 1);
        const Started keeper = startKeeper(rows[i].program, forms);
        EXPECT_FALSE(keeper.ok()) << "row " << i;
        EXPECT_TRUE(keeper.failure.starts_with(rows[i].failure))
            << "row " << i << ": " << keeper.failure;
    }
    setenv("DISPLAY", display.c_str(), 1);
}

}  // namespace
}  // namespace lorrin::keeper
