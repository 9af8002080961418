#include "cli/standardinput.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace cli {
namespace {

bool inputClosed = false;
bool outputClosed = false;

// Opens the empty device as the closed descriptor: the lowest free one, as
// the descriptors below it are open.
bool hold(int descriptor, int mode)
{
    const bool closed = ::fcntl(descriptor, F_GETFD) < 0 && errno == EBADF;
    if (closed)
        ::open("/dev/null", mode);
    return closed;
}

} // namespace

void noteStandardInput()
{
    inputClosed = hold(STDIN_FILENO, O_RDONLY);
    outputClosed = hold(STDOUT_FILENO, O_WRONLY);
}

bool standardInputClosed() { return inputClosed; }

bool standardOutputClosed() { return outputClosed; }

} // namespace cli
