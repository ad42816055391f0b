// lorrin-keeper: keeps a picture on the X clipboard after lorrin or lorrin-cli has ended.
// Its starter hands it the picture's forms on its standard input and reads one answer
// line on its standard output: "held PID" once it holds the clipboard, else the reason.
// It then serves the clipboard on its own until another program takes it.
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
// its starter, forever: past this time the keeper gives up and says why.
constexpr unsigned kTakeLimitSeconds = 3;
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
    // The starter waits for this process, which ends at once; the keeper goes on in its
    // child, which nobody waits for.
    const pid_t keeper = fork();
    if (keeper < 0) {
        answer(STDOUT_FILENO, std::string("cannot start the keeper: ") + std::strerror(errno));
        return 1;
    }
    if (keeper > 0) return 0;

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
    clipboard.serve();
    return 0;
}
