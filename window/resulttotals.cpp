#include "window/resulttotals.h"

#include "core/failure.h"
#include "engine/distanceunits.h"
#include "engine/numbers.h"

#include <cmath>
#include <type_traits>

namespace window {
namespace {

// The unit (option 1 to 4) and the number of "... is 1234.5 miles"; 0 for
// a text that ends otherwise. Read in place, without a copy: the end of a
// run reads every row.
template <typename Text>
std::pair<int, double> distanceIn(Text text)
{
    const QLatin1StringView is(" is ");
    for (int option = 1; option <= 4; ++option) {
        const QLatin1StringView word(engine::unitOfOption(option)->windowWord);
        if (!text.endsWith(word))
            continue;
        const Text head = text.first(text.size() - word.size());
        const qsizetype at = head.lastIndexOf(is);
        if (at < 0)
            return {0, 0};
        const std::optional<double> number = engine::toNumber(head.sliced(at + is.size()));
        return number ? std::pair{option, *number} : std::pair{0, 0.0};
    }
    return {0, 0};
}

std::pair<int, double> distanceOf(QAnyStringView sentence)
{
    return sentence.visit([](auto text) {
        using Text = decltype(text);
        if constexpr (std::is_same_v<Text, QLatin1StringView> || std::is_same_v<Text, QStringView>)
            return distanceIn(text);
        else
            return distanceIn(QStringView(QAnyStringView(text).toString()));
    });
}

} // namespace

int ResultTotals::count(QAnyStringView sentence, int sign)
{
    const auto [option, number] = distanceOf(sentence);
    if (option > 0)
        lastPlaces_[size_t(option)] += sign * engine::roundedUnits(number, engine::unitOfOption(option)->places);
    checked_ += sign;
    return option;
}

void ResultTotals::added(QAnyStringView sentence)
{
    if (const int option = count(sentence, 1))
        unit_ = option;
}

void ResultTotals::changed(QAnyStringView sentence, bool on) { count(sentence, on ? 1 : -1); }

QString ResultTotals::total() const
{
    if (unit_ == 0)
        return {};
    const engine::DistanceUnit& unit = *engine::unitOfOption(unit_);
    // A unit changed during the run: each part converted over the mile.
    double sum = 0;
    for (int option = 1; option <= 4; ++option) {
        const engine::DistanceUnit& part = *engine::unitOfOption(option);
        const double value = double(lastPlaces_[size_t(option)]) / std::pow(10.0, part.places);
        sum += option == unit_ ? value : value / part.perMile * unit.perMile;
    }
    try {
        return engine::numberText(sum, unit.places) + QLatin1String(unit.windowWord);
    } catch (const core::Failure&) {
        return {};
    }
}

QString ResultTotals::text(qsizetype rows) const
{
    const QString sum = total();
    const QString results = rows == 1 ? QStringLiteral("1 result") : QStringLiteral("%1 results").arg(rows);
    if (checked_ == rows)
        return sum.isEmpty() ? results : results + QLatin1String(", ") + sum + QLatin1String(" in all");
    const QString part = QStringLiteral("%1 of %2 checked").arg(checked_).arg(results);
    return sum.isEmpty() ? part : part + QLatin1String(", ") + sum;
}

} // namespace window
