#include "window/chrome/homepage.h"

#include "core/failure.h"
#include "platform/system/programfolder.h"
#include "platform/desktop/randomdraw.h"
#include "platform/system/urlopener.h"
#include "files/paths.h"

#include <QTime>
#include <QUrl>

namespace chrome {
namespace {
constexpr int kWinningNumber = 7;
}

QString HomePagePath()
{
    return files::JoinedPath(platform::programFolder(), QStringLiteral("meridane.html"));
}

int DrawnNumber(double uniform) { return static_cast<int>(uniform * 100) + 1; }

void OpenHomePageAtRandom()
{
    auto& draw = platform::get<platform::RandomDraw>();
    draw.seed(QTime::currentTime().msecsSinceStartOfDay() / 1000);
    if (DrawnNumber(draw.next()) != kWinningNumber)
        return;
    if (!platform::get<platform::UrlOpener>().open(QUrl::fromLocalFile(HomePagePath())))
        throw core::Failure::fileNotFound();
}

} // namespace chrome
