#pragma once
// Booleans as text, as the settings store keeps them: "True" and "False".
//
// Text to Boolean: "True" and "False" in any letter case (surrounding white
// space ignored), or a number by the numeric test of numbers.h: 0 is false,
// any other number true. Anything else fails with "Type mismatch".

#include <QString>

namespace engine {

bool booleanOf(const QString& text);
QString booleanText(bool value);

} // namespace engine
