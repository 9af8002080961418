#pragma once
// The system clipboard: clear it, or put a text on it. The program reaches it
// only through get<Clipboard>(); tests install a replacement. A call that the
// clipboard refuses (none available, held by another program) throws Failure.

#include "platform/seam.h"

#include <QString>

namespace platform {

class Clipboard {
public:
    // Format 0 is the plain-text format.
    static constexpr int kPlainText = 0;

    virtual ~Clipboard() = default;
    virtual void clear() = 0;
    virtual void setText(const QString& text, int format) = 0;
};

template <> Clipboard& real<Clipboard>();

} // namespace platform
