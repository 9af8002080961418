#include "platform/system/programfolder.h"

#include <QCoreApplication>

namespace platform {
namespace {
QString replacement;
}

QString programFolder()
{
    return replacement.isEmpty() ? QCoreApplication::applicationDirPath() : replacement;
}

void setProgramFolder(const QString& folder) { replacement = folder; }

} // namespace platform
