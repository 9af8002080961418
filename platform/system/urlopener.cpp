#include "platform/system/urlopener.h"

#include <QDesktopServices>

namespace platform {
namespace {

class DesktopUrlOpener final : public UrlOpener {
public:
    bool open(const QUrl& url) override { return QDesktopServices::openUrl(url); }
};

} // namespace

template <> UrlOpener& real<UrlOpener>() { return made<DesktopUrlOpener>(); }

} // namespace platform
