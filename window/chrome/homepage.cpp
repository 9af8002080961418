#include "window/chrome/homepage.h"

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
    // One attempt, its result not looked at: a desktop without a launcher
    // opens nothing and says nothing.
    platform::get<platform::UrlOpener>().open(QUrl::fromLocalFile(HomePagePath()));
}

} // namespace chrome
