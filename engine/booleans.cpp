#include "engine/booleans.h"

#include "engine/numbers.h"

namespace engine {
namespace {
const QString kTrue = QStringLiteral("True");
const QString kFalse = QStringLiteral("False");
} // namespace

bool booleanOf(const QString& text)
{
    const QString word = text.trimmed();
    if (word.compare(kTrue, Qt::CaseInsensitive) == 0)
        return true;
    if (word.compare(kFalse, Qt::CaseInsensitive) == 0)
        return false;
    return numberOf(text) != 0;
}

QString booleanText(bool value) { return value ? kTrue : kFalse; }

} // namespace engine
