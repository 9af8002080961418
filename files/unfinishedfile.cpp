#include "files/unfinishedfile.h"

#include <atomic>
#include <climits>
#include <csignal>
#include <cstring>
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
std::atomic<bool> guarded{false};
struct sigaction previous[std::size(kSignals)];
bool replaced[std::size(kSignals)];

// Only async-signal-safe calls: unlink, sigaction, raise. The signal stays
// blocked until the handler returns, then ends the process.
void removeUnfinished(int signal)
{
    if (guarded.load())
        ::unlink(unfinished);
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    ::sigaction(signal, &byDefault, nullptr);
    ::raise(signal);
}

} // namespace

bool guardUnfinishedFile(const QByteArray& name)
{
    if (name.size() >= qsizetype(sizeof unfinished) || guarded.load())
        return false;
    std::memcpy(unfinished, name.constData(), size_t(name.size()) + 1);
    guarded = true;
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
    return true;
}

void releaseUnfinishedFile()
{
    for (size_t i = 0; i < std::size(kSignals); ++i)
        if (std::exchange(replaced[i], false))
            ::sigaction(kSignals[i], &previous[i], nullptr);
    guarded = false;
}

} // namespace files
