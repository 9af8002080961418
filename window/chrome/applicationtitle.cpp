#include "window/chrome/applicationtitle.h"

#include "window/chrome/msgbox.h"

namespace chrome {
namespace {
constexpr qsizetype kLongest = 40;
}

QString ShortenedTitle(QString title)
{
    while (title.size() > kLongest) {
        const qsizetype space = title.lastIndexOf(QLatin1Char(' '));
        if (space < 0) {
            title.truncate(kLongest);
            break;
        }
        title.truncate(space);
    }
    return title;
}

void SetApplicationTitle() { setApplicationTitleText(ShortenedTitle(kProductTitle)); }

} // namespace chrome
