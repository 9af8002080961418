#include "window/loadcoordinatefile.h"

#include "core/failure.h"
#include "files/fileexists.h"
#include "files/paths.h"
#include "lists/listfile.h"
#include "lists/listformat.h"
#include "platform/widgets/list/listview.h"
#include "window/chrome/msgbox.h"

namespace window {

void LoadCoordinateFile(widgets::ListView& list, const QString& path, bool named)
{
    const auto withName = [&](const QString& text) {
        return files::FileNameFromPath(path) + QLatin1String(": ") + text;
    };
    const QString notFound = QStringLiteral("File not found");
    if (!files::FileExists(path)) {
        chrome::MsgBox(named ? withName(notFound) : notFound);
        return;
    }
    try {
        lists::readListFile(path, [&](QStringView latitude, QStringView longitude) {
            list.addItem(latitude, longitude); // the list copies the characters
        });
    } catch (core::Failure& failure) {
        if (named || failure.number == lists::kInvalidFileFormat ||
            failure.number == lists::kNotAListDocument)
            failure.description = withName(failure.description);
        throw;
    }
}

} // namespace window
