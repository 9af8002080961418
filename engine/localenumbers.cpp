#include "engine/localenumbers.h"

#include "engine/numbers.h"

namespace engine {
namespace {

LocaleNumbers cached{QLocale(QLocale::C), QLocale(QLocale::C), QChar(), false};
bool ready = false;
int scopes = 0; // LocaleScope objects alive

// Looking the default locale up costs a QLocale and a comparison.
const LocaleNumbers& lookUp()
{
    const QLocale current;
    if (!ready || current != cached.source) {
        cached.source = current;
        cached.locale = current;
        cached.locale.setNumberOptions(QLocale::RejectGroupSeparator | QLocale::OmitGroupSeparator);
        const QString half = cached.locale.toString(1.0 / 2, 'f', 1);
        cached.decimal = half.size() == 3 ? half[1] : QLatin1Char('.');
        cached.plain = half == QLatin1String("0") + cached.decimal + QLatin1String("5") &&
                       cached.decimal.unicode() < 0x80 &&
                       cached.locale.negativeSign() == QLatin1String("-") &&
                       cached.locale.zeroDigit() == QLatin1String("0");
        ready = true;
    }
    return cached;
}

} // namespace

const LocaleNumbers& numbers() { return scopes > 0 && ready ? cached : lookUp(); }

LocaleScope::LocaleScope()
{
    if (scopes == 0)
        lookUp();
    ++scopes;
}

LocaleScope::~LocaleScope() { --scopes; }

} // namespace engine
