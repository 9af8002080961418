#pragma once
// Opens an address (a web page or a file address) in the desktop's handler
// for it, without waiting. Tests install a recorder so nothing is ever opened.

#include <QUrl>

namespace platform {

class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    // False when the desktop has no handler that could be started.
    virtual bool open(const QUrl& url) = 0;
};

UrlOpener& urlOpener();
// Replaces the real opener (tests); nullptr puts it back.
void setUrlOpener(UrlOpener* replacement);

} // namespace platform
