#include "cli/outputamonginputs.h"

#include "cli/standardinput.h"
#include "core/failure.h"

#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace cli {
namespace {

using FileId = std::pair<dev_t, ino_t>;

// The file a name stands for; nothing when there is none.
std::optional<FileId> fileOf(const QByteArray& name, int standard, bool regularOnly)
{
    struct stat status;
    const int found = name == "-" ? ::fstat(standard, &status) : ::stat(name.constData(), &status);
    if (found != 0 || (regularOnly && !S_ISREG(status.st_mode)))
        return std::nullopt;
    return FileId{status.st_dev, status.st_ino};
}

} // namespace

void refuseOutputAmongInputs(const QByteArray& output, const QList<QByteArray>& files)
{
    // A terminal or a pipe may well be both.
    const auto written = fileOf(output, STDOUT_FILENO, true);
    if (!written)
        return;
    for (const QByteArray& name : files) {
        if (name == "-" && standardInputClosed())
            continue;
        if (fileOf(name, STDIN_FILENO, false) == written)
            throw core::Failure{75, QStringLiteral("The output is one of the lists to read")};
    }
}

} // namespace cli
