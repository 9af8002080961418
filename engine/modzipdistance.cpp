#include "engine/modzipdistance.h"

#include "core/failure.h"
#include "core/trap.h"
#include "engine/numbers.h"

#include <QStringBuilder>
#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <type_traits>

namespace modZipDistance {
namespace {

struct Unit {
    const char* word;
    quint8 places;
    double factor; // from statute miles
};

constexpr std::array<Unit, 4> kUnits{{
    {" miles", 4, 1},
    {" feets", 2, 5280},
    {" kilometers", 3, 1.609344},
    {" meters", 2, 1609.344},
}};

constexpr double kPiDegrees = 3.14159265;      // the degree/radian conversions' pi
constexpr double kHalfPi = 1.5707963267949;    // arccosine, general case
constexpr double kPiArcCos = 3.14159265358979; // arccosine at -1
constexpr double kNauticalMilesPerDegree = 60;
constexpr double kMilesPerNauticalMile = 1.15078;

// Floating-point trouble in a step is a failure of that step.
double finite(double value)
{
    if (std::isnan(value))
        throw Failure::invalidCall();
    if (std::isinf(value))
        throw Failure::overflow();
    return value;
}

// Copies a piece as Latin-1; null when one of its characters does not fit.
char* copyLatin1(QLatin1String text, char* out) { return std::copy(text.begin(), text.end(), out); }
char* copyLatin1(QUtf8StringView text, char* out)
{
    unsigned bits = 0;
    for (const auto byte : text)
        bits |= quint8(*out++ = static_cast<char>(byte));
    return bits < 0x80 ? out : nullptr; // ASCII is the same in both
}
char* copyLatin1(QStringView text, char* out)
{
    char16_t bits = 0;
    const char16_t* in = text.utf16();
    for (qsizetype i = 0; i < text.size(); ++i) {
        bits |= in[i];
        *out++ = static_cast<char>(in[i]);
    }
    return bits <= 0xff ? out : nullptr;
}

void appendWide(QString& text, QAnyStringView piece)
{
    piece.visit([&](auto view) {
        if constexpr (std::is_same_v<decltype(view), QUtf8StringView>)
            text += QString::fromUtf8(view.data(), view.size());
        else
            text.append(view);
    });
}

} // namespace

QAnyStringView Sentence::view() const
{
    if (isWide_)
        return wide_;
    return QLatin1String(latin1_.constData(), latin1_.size());
}

void Sentence::clear()
{
    latin1_.truncate(0); // keeps its room for the next sentence
    wide_.clear();
    isWide_ = false;
}

void Sentence::assign(std::initializer_list<QAnyStringView> pieces)
{
    clear();
    qsizetype size = 0;
    for (const QAnyStringView piece : pieces)
        size += piece.size();
    latin1_.resize(size);
    char* out = latin1_.data();
    for (const QAnyStringView piece : pieces)
        if (!(out = piece.visit([&](auto view) { return copyLatin1(view, out); })))
            break;
    if (out)
        return;
    clear();
    isWide_ = true;
    wide_.reserve(size);
    for (const QAnyStringView piece : pieces)
        appendWide(wide_, piece);
}

void Sentence::compose(QAnyStringView lat1, QAnyStringView lon1, QAnyStringView lat2,
                       QAnyStringView lon2, QAnyStringView number, QLatin1String unitWord)
{
    assign({QLatin1String("Distance between ("), lat1, QLatin1String(","), lon1,
            QLatin1String(") and ("), lat2, QLatin1String(","), lon2, QLatin1String(") is "),
            number, unitWord});
}

UnitOptions selectedOption(int k)
{
    return [k](int option) { return option == k; };
}

double DegToRad(double degrees) { return finite((kPiDegrees / 180) * degrees); }

double RadToDeg(double radians) { return finite((180 / kPiDegrees) * radians); }

double ArcCos(double x)
{
    if (std::fabs(x) == 1)
        return x == -1 ? kPiArcCos : 0;
    const double rest = 1 - x * x;
    if (rest < 0)
        throw Failure::invalidCall(); // square root of a negative number
    return finite(kHalfPi - std::atan(x / std::sqrt(rest)));
}

double SphericalDistanceMiles(double lat1, double lat2, double lon1, double lon2)
{
    const double p = finite(std::sin(DegToRad(lat1)) * std::sin(DegToRad(lat2)));
    const double c1 = std::cos(DegToRad(lat1));
    const double c2 = std::cos(DegToRad(lat2));
    const double d = finite(lon1 - lon2);
    const double cd = std::cos(DegToRad(d));
    // Rounding can push the cosine a last bit past +-1 for nearly identical
    // or nearly antipodal points; those are distance 0 and half a turn.
    const double x = std::clamp(finite(c2 * c1 * cd + p), -1.0, 1.0);
    const double degrees = RadToDeg(ArcCos(x));
    return finite(degrees * kNauticalMilesPerDegree * kMilesPerNauticalMile);
}

QString DecimalSeparator()
{
    // Kept between calls: GetDistance asks for it on every pair.
    static QString text;
    const QChar separator = engine::decimalSeparator();
    if (text.size() != 1 || text.front() != separator)
        text = QString(separator);
    return text;
}

QString GetDistance(QAnyStringView lat1, QAnyStringView lon1, QAnyStringView lat2,
                    QAnyStringView lon2, const UnitOptions& unitOptions)
{
    Sentence sentence;
    GetDistance(lat1, lon1, lat2, lon2, unitOptions, sentence);
    return sentence.toString();
}

void GetDistance(QAnyStringView lat1, QAnyStringView lon1, QAnyStringView lat2,
                 QAnyStringView lon2, const UnitOptions& unitOptions, Sentence& sentence)
{
    static const QString where = core::location("modZipDistance", "GetDistance");
    core::Trap trap(where);
    QLatin1String unitWord;
    quint8 places = 0;
    double factor = 0;
    double distance = 0;
    sentence.clear();

    // Options are tested in order; the first selected one sets the unit.
    for (int option = 1; option <= 4; ++option) {
        const int label = 102 + (option - 1) * 8;
        if (trap.test(label, [&] { return unitOptions(option); })) {
            const Unit& unit = kUnits[option - 1];
            trap.step(label + 2, [&] { unitWord = QLatin1String(unit.word); });
            trap.step(label + 4, [&] { places = unit.places; });
            trap.step(label + 6, [&] { factor = unit.factor; });
            break;
        }
    }
    const auto compose = [&](QAnyStringView number) {
        sentence.compose(lat1, lon1, lat2, lon2, number, unitWord);
    };
    if (trap.test(134, [&] { return lat2 == lat1 && lon2 == lon1; })) {
        trap.step(136, [&] { compose(QLatin1String("0 ")); });
        return;
    }
    trap.step(138, [&] {
        const double miles = SphericalDistanceMiles(engine::numberOf(lat1), engine::numberOf(lat2),
                                                    engine::numberOf(lon1), engine::numberOf(lon2));
        distance = finite(miles * factor);
    });
    trap.step(140, [&] {
        char buffer[400];
        if (const auto plain = engine::plainNumberText(distance, places, buffer))
            compose(QLatin1String(plain->data(), qsizetype(plain->size())));
        else
            compose(engine::numberText(distance, places));
    });
}

} // namespace modZipDistance
