#include "platform/desktop/urlopener.h"

#include <QDesktopServices>

namespace platform {
namespace {

class DesktopUrlOpener final : public UrlOpener {
public:
    bool open(const QUrl& url) override { return QDesktopServices::openUrl(url); }
};

DesktopUrlOpener real;
UrlOpener* current = nullptr;

} // namespace

UrlOpener& urlOpener() { return current ? *current : real; }

void setUrlOpener(UrlOpener* replacement) { current = replacement; }

} // namespace platform
