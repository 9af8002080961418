// Command-line names as bytes: any bytes come back exactly from their text
// form, and their shown form is one line without control characters.

#include "core/argumentbytes.h"
#include "fuzzinput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Input input(data, size);
    const QByteArrayView bytes = input.rest();
    const QString detail = QString::fromLatin1(bytes.toByteArray().toHex());
    fuzz::check(core::argumentBytes(core::argumentText(bytes)) == bytes,
                "the bytes do not come back", detail);
    const QString shown = core::shownName(bytes);
    for (const QChar c : shown)
        fuzz::check(c.unicode() >= 0x20 && (c.unicode() < 0x7F || c.unicode() > 0x9F),
                    "a control character is shown raw", detail);
    fuzz::check(shown.isEmpty() == bytes.isEmpty(), "a name is shown as nothing", detail);
    return 0;
}
