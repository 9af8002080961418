#include "platform/spreadsheet/spreadsheetopener.h"

#include "platform/system/processstart.h"

namespace spreadsheet {
namespace {

const QString kXlsxMimeType =
    QStringLiteral("application/vnd.openxmlformats-officedocument.spreadsheetml.sheet");

std::optional<SpreadsheetOpener> calc()
{
    for (const QString& name : {QStringLiteral("soffice"), QStringLiteral("libreoffice")}) {
        const QString program = platform::get<platform::ProcessStart>().findProgram(name);
        // -n opens the file as a template: a new, unsaved, untitled document.
        if (!program.isEmpty())
            return SpreadsheetOpener{
                program,
                {QStringLiteral("--calc"), QStringLiteral("--norestore"), QStringLiteral("-n")}};
    }
    return std::nullopt;
}

std::optional<SpreadsheetOpener> defaultApplication()
{
    const QString opener =
        platform::get<platform::ProcessStart>().findProgram(QStringLiteral("xdg-open"));
    const QString mime =
        platform::get<platform::ProcessStart>().findProgram(QStringLiteral("xdg-mime"));
    if (opener.isEmpty() || mime.isEmpty())
        return std::nullopt;
    const QString handler = platform::get<platform::ProcessStart>().queryOutput(
        mime, {QStringLiteral("query"), QStringLiteral("default"), kXlsxMimeType});
    if (handler.isEmpty())
        return std::nullopt;
    return SpreadsheetOpener{opener, {}};
}

} // namespace

std::optional<SpreadsheetOpener> findSpreadsheetOpener()
{
    if (auto found = calc())
        return found;
    return defaultApplication();
}

} // namespace spreadsheet
