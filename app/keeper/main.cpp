// lorrin-keeper: keeps a picture on the X clipboard after lorrin or lorrin-cli has ended.
// Its starter hands it the picture's forms on its standard input and reads one answer
// line on its standard output: "held PID" once it holds the clipboard, else the reason.
// It then serves the clipboard on its own until another program takes it.  Its status
// is 0 once it holds the clipboard, 1 when it does not.
#include "src/clipboard_keeper.h"
#include "lorrin/keeper/handover.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// A display that takes the connection and then says nothing would hold the keeper, and
// its starter, forever: past this time the keeper gives up and says why.  A display at
// the far end of a slow link takes a few round trips; the starter waits 5 s.
constexpr unsigned kTakeLimitSeconds = 4;
int starterStream = -1;
char silentDisplay[256] = "";

void giveUp(int) {
    [[maybe_unused]] const ssize_t written =
        write(starterStream, silentDisplay, std::strlen(silentDisplay));
    _exit(1);
}

void limitTheTake(int starter) {
    const char* display = std::getenv("DISPLAY");
    std::snprintf(silentDisplay, sizeof silentDisplay, "the X display %s does not answer\n",
                  display == nullptr ? "" : display);
    starterStream = starter;
    signal(SIGALRM, giveUp);
    alarm(kTakeLimitSeconds);
}

// The one answer line, on the starter's stream, which is then closed.
void answer(int starter, const std::string& text) {
    const std::string line = text + "\n";
    [[maybe_unused]] const ssize_t written = write(starter, line.data(), line.size());
    close(starter);
}

std::size_t readInput(std::span<std::uint8_t> into) {
    std::size_t got = 0;
    while (got < into.size()) {
        const ssize_t n = read(STDIN_FILENO, into.data() + got, into.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    return got;
}

// The keeper's first process learns on a pipe of its own whether the keeper holds the
// clipboard: a byte when it does.  It reads to the pipe's end, which the keeper closes
// once it has answered, so the keeper holds nothing of the starter's by then.
bool heldByTheKeeper(int pipe) {
    bool held = false;
    for (char byte = 0;;) {
        const ssize_t got = read(pipe, &byte, 1);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return held;
        held = true;
    }
}

void tellHeld(int pipe) {
    constexpr char kHeld = 1;
    [[maybe_unused]] const ssize_t written = write(pipe, &kHeld, 1);
    close(pipe);
}

// From here on the keeper holds nothing of its starter's: no terminal, no pipe, no folder.
void detach() {
    const int nothing = open("/dev/null", O_RDWR);
    for (const int stream : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) dup2(nothing, stream);
    if (nothing > STDERR_FILENO) close(nothing);
    [[maybe_unused]] const int moved = chdir("/");
}

}  // namespace

int main() {
    // The standard streams are all the keeper takes from its starter.
    close_range(STDERR_FILENO + 1, ~0U, 0);
    signal(SIGPIPE, SIG_IGN);
    // The starter waits for this process, which ends as soon as the keeper has answered,
    // with 0 when it holds the clipboard; the keeper goes on in its child, which nobody
    // waits for.
    int held[2];
    const pid_t keeper = pipe2(held, O_CLOEXEC) == 0 ? fork() : -1;
    if (keeper < 0) {
        answer(STDOUT_FILENO, std::string("cannot start the keeper: ") + std::strerror(errno));
        return 1;
    }
    if (keeper > 0) {
        close(held[1]);
        return heldByTheKeeper(held[0]) ? 0 : 1;
    }
    close(held[0]);

    auto forms = lorrin::keeper::readHandover(readInput);
    // The starter reads the answer to its stream's end: by then the keeper holds nothing
    // else of the starter's.
    const int starter = dup(STDOUT_FILENO);
    detach();
    if (!forms) {
        answer(starter, "the keeper was handed no picture");
        return 1;
    }
    limitTheTake(starter);
    lorrin::keeper::ClipboardKeeper clipboard(std::move(*forms));
    const std::string failure = clipboard.take();
    alarm(0);
    if (!failure.empty()) {
        answer(starter, failure);
        return 1;
    }
    answer(starter, lorrin::keeper::heldAnswer(getpid()));
    tellHeld(held[1]);
    clipboard.serve();
    return 0;
}
