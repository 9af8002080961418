#include "files/unfinishedfile.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <iterator>
#include <unistd.h>
#include <utility>

namespace files {
namespace {

// Every signal whose default action ends the process and that can be caught.
constexpr int kSignals[] = {SIGHUP,  SIGINT,  SIGQUIT,   SIGILL,  SIGTRAP, SIGABRT, SIGBUS,
                            SIGFPE,  SIGUSR1, SIGSEGV,   SIGUSR2, SIGPIPE, SIGALRM, SIGTERM,
                            SIGXCPU, SIGXFSZ, SIGVTALRM, SIGPROF, SIGPOLL, SIGSYS};

// Fixed storage: the handler reads it at any moment, and nothing is ever freed.
char unfinished[PATH_MAX + 16];
// Idle, the file being made, or guarded; a signal that comes while the file is
// being made is kept here (a positive number) until its name is known.
enum : int { kIdle = 0, kCreating = -1, kGuarded = -2 };
std::atomic<int> state{kIdle};
static_assert(std::atomic<int>::is_always_lock_free);
struct sigaction previous[std::size(kSignals)];
bool replaced[std::size(kSignals)];

// Only async-signal-safe calls: a lock-free atomic, unlink, sigaction, raise. The signal stays
// blocked until the handler returns, then ends the process.
void removeUnfinished(int signal)
{
    int seen = kCreating;
    if (state.compare_exchange_strong(seen, signal) || seen > 0)
        return; // acted on by the maker once the file has its name
    if (seen == kGuarded)
        ::unlink(unfinished);
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    ::sigaction(signal, &byDefault, nullptr);
    ::raise(signal);
}

void replaceHandlers()
{
    struct sigaction handler {};
    handler.sa_handler = removeUnfinished;
    sigemptyset(&handler.sa_mask);
    handler.sa_flags = SA_RESTART;
    for (size_t i = 0; i < std::size(kSignals); ++i) {
        // An ignored signal (nohup) or one with a handler of its own is left alone.
        replaced[i] = ::sigaction(kSignals[i], nullptr, &previous[i]) == 0 &&
                      !(previous[i].sa_flags & SA_SIGINFO) && previous[i].sa_handler == SIG_DFL &&
                      ::sigaction(kSignals[i], &handler, nullptr) == 0;
    }
}

} // namespace

// The handlers are in place before the file exists, so no signal can end the
// process between its making and its guard.
int createUnfinishedFile(QByteArray& pattern, bool& guarded)
{
    int idle = kIdle;
    guarded = pattern.size() < qsizetype(sizeof unfinished) &&
              state.compare_exchange_strong(idle, kCreating);
    if (!guarded)
        return ::mkostemp(pattern.data(), O_CLOEXEC);
    unfinished[0] = '\0';
    replaceHandlers();
    const int descriptor = ::mkostemp(pattern.data(), O_CLOEXEC);
    const int error = errno;
    if (descriptor >= 0)
        std::memcpy(unfinished, pattern.constData(), size_t(pattern.size()) + 1);
    if (const int held = state.exchange(kGuarded); held > 0)
        removeUnfinished(held);
    if (descriptor < 0) {
        releaseUnfinishedFile();
        guarded = false;
        errno = error;
    }
    return descriptor;
}

void releaseUnfinishedFile()
{
    for (size_t i = 0; i < std::size(kSignals); ++i)
        if (std::exchange(replaced[i], false))
            ::sigaction(kSignals[i], &previous[i], nullptr);
    state = kIdle;
}

} // namespace files
