#include "cli/inputfile.h"

#include "cli/standardinput.h"
#include "core/failure.h"
#include "files/regularfile.h"

#include <QString>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cli {
namespace {

// The system's words for why a list cannot be opened, as Unix tools give them,
// under the number that the one mapping of errno gives.
core::Failure openFailure(int error)
{
    return {files::openFailure(error).number, qt_error_string(error)};
}

core::Failure notReadable(const struct stat& status)
{
    return S_ISDIR(status.st_mode) ? openFailure(EISDIR) : core::Failure::pathAccess();
}

bool readable(const struct stat& status)
{
    return S_ISREG(status.st_mode) || S_ISFIFO(status.st_mode) || S_ISSOCK(status.st_mode);
}

} // namespace

InputFile::InputFile(QByteArray name)
    : name_(std::move(name))
{
}

InputFile::~InputFile() { close(); }

void InputFile::close()
{
    if (descriptor_ >= 0)
        ::close(descriptor_);
    descriptor_ = -1;
}

void InputFile::check()
{
    if (name_ == "-") {
        if (standardInputClosed())
            throw core::Failure{75, QStringLiteral("standard input is closed")};
    } else {
        struct stat status;
        if (::stat(name_.constData(), &status) != 0)
            throw openFailure(errno);
        if (!readable(status))
            throw notReadable(status);
        if (::access(name_.constData(), R_OK) != 0)
            throw openFailure(errno);
    }
    checked_ = true;
}

void InputFile::open()
{
    if (descriptor_ >= 0)
        return;
    struct stat status;
    if (name_ == "-") {
        if (standardInputClosed())
            throw core::Failure{75, QStringLiteral("standard input is closed")};
        descriptor_ = ::fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 0);
    } else {
        // A folder or a device is refused before it is opened: opening some
        // devices already does something.
        if (::stat(name_.constData(), &status) != 0)
            throw openFailure(errno);
        if (!readable(status))
            throw notReadable(status);
        descriptor_ = ::open(name_.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    }
    if (descriptor_ < 0)
        throw openFailure(errno);
    if (::fstat(descriptor_, &status) != 0)
        throw openFailure(errno);
    if (name_ != "-" && !readable(status))
        throw notReadable(status);
    regular_ = S_ISREG(status.st_mode);
    size_ = regular_ ? status.st_size : 0;
}

} // namespace cli
