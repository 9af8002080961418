#include "platform/desktop/clipboard.h"

#include "core/failure.h"

#include <QClipboard>
#include <QGuiApplication>

namespace platform {
namespace {

core::Failure cannotOpenClipboard() { return {521, QStringLiteral("Can't open Clipboard")}; }

// Numbered formats that hold text; the desktop keeps all of them as plain text.
bool isTextFormat(int format)
{
    constexpr int kText = 1, kOemText = 7, kUnicodeText = 13;
    return format == Clipboard::kPlainText || format == kText || format == kOemText ||
           format == kUnicodeText;
}

class SystemClipboard final : public Clipboard {
public:
    void clear() override { system()->clear(QClipboard::Clipboard); }

    void setText(const QString& text, int format) override
    {
        if (!isTextFormat(format))
            throw core::Failure::invalidCall();
        system()->setText(text, QClipboard::Clipboard);
    }

private:
    static QClipboard* system()
    {
        // Without a GUI application (or on a platform without one) there is no clipboard.
        QClipboard* clipboard = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                                    ? QGuiApplication::clipboard()
                                    : nullptr;
        if (!clipboard)
            throw cannotOpenClipboard();
        return clipboard;
    }
};

} // namespace

template <> Clipboard& real<Clipboard>() { return made<SystemClipboard>(); }

} // namespace platform
