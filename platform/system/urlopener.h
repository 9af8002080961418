#pragma once
// Opens an address (a web page or a file address) in the desktop's handler
// for it, without waiting. Tests install a recorder so nothing is ever opened.

#include "platform/seam.h"

#include <QUrl>

namespace platform {

class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    // False when the desktop has no handler that could be started.
    virtual bool open(const QUrl& url) = 0;
};

template <> UrlOpener& real<UrlOpener>();

} // namespace platform
