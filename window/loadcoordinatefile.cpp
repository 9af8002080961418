#include "window/loadcoordinatefile.h"

#include "core/failure.h"
#include "files/fileexists.h"
#include "files/paths.h"
#include "lists/listfile.h"
#include "lists/listformat.h"
#include "platform/widgets/list/listview.h"
#include "window/chrome/msgbox.h"

namespace app {

void LoadCoordinateFile(platform::ListView& list, const QString& path, bool named)
{
    const auto withName = [&](const QString& text) {
        return shell::FileNameFromPath(path) + QLatin1String(": ") + text;
    };
    const QString notFound = QStringLiteral("File not found");
    if (!shell::FileExists(path)) {
        shell::MsgBox(named ? withName(notFound) : notFound);
        return;
    }
    try {
        readListFile(path, [&](QStringView latitude, QStringView longitude) {
            list.addItem(latitude, longitude); // the list copies the characters
        });
    } catch (Failure& failure) {
        if (named || failure.number == kInvalidFileFormat)
            failure.description = withName(failure.description);
        throw;
    }
}

} // namespace app
