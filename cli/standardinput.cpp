#include "cli/standardinput.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace cli {
namespace {

bool closed = false;

} // namespace

void noteStandardInput()
{
    closed = ::fcntl(STDIN_FILENO, F_GETFD) < 0 && errno == EBADF;
    // The lowest free descriptor, which is 0 now.
    if (closed)
        ::open("/dev/null", O_RDONLY);
}

bool standardInputClosed() { return closed; }

} // namespace cli
