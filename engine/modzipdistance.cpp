#include "engine/modzipdistance.h"

#include "core/failure.h"
#include "core/latin1.h"
#include "core/trap.h"
#include "engine/distanceunits.h"
#include "engine/formulaentry.h"
#include "engine/numbers.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <type_traits>

namespace engine::modZipDistance {
namespace {

constexpr double kPiDegrees = 3.14159265;      // the degree/radian conversions' pi
constexpr double kHalfPi = 1.5707963267949;    // arccosine, general case
constexpr double kPiArcCos = 3.14159265358979; // arccosine at -1
constexpr double kNauticalMilesPerDegree = 60;

// Floating-point trouble in a step is a failure of that step.
double finite(double value)
{
    if (std::isnan(value))
        throw core::Failure::invalidCall();
    if (std::isinf(value))
        throw core::Failure::overflow();
    return value;
}

// Writes the pieces of a sentence as Latin-1 into a buffer that has room,
// gathering the bits of every character: at the end, one test tells whether
// they all fitted (at most 0xff).
class Latin1Writer {
public:
    explicit Latin1Writer(char* out)
        : out_(out)
    {
    }
    bool fitted() const { return bits_ <= 0xff; }

    // The sentence's own words: their length is known here, so the copy is inline.
    template <size_t N> void operator()(const char (&word)[N])
    {
        std::memcpy(out_, word, N - 1);
        out_ += N - 1;
    }
    void operator()(QAnyStringView piece)
    {
        piece.visit([this](auto view) { copy(view); });
    }

private:
    void copy(QLatin1String text)
    {
        if (!text.isEmpty()) // an empty piece may have no data to copy from
            std::memcpy(out_, text.data(), size_t(text.size()));
        out_ += text.size();
    }
    void copy(QUtf8StringView text)
    {
        for (const auto byte : text) {
            bits_ |= quint8(byte) < 0x80 ? 0 : 0x100; // ASCII is the same in both
            *out_++ = static_cast<char>(byte);
        }
    }
    void copy(QStringView text)
    {
        if (!core::narrowToLatin1(text, out_))
            bits_ |= 0x100;
        out_ += text.size();
    }

    char* out_;
    char16_t bits_ = 0;
};

// Adds up the pieces' lengths: a UTF-8 piece counts its bytes, as many as its
// characters while they are ASCII.
struct SizeCounter {
    qsizetype size = 0;
    template <size_t N> void operator()(const char (&)[N]) { size += N - 1; }
    void operator()(QAnyStringView piece) { size += piece.size(); }
};

// Appends the pieces to a UTF-16 text: the way for characters beyond Latin-1.
struct WideWriter {
    QString& text;
    template <size_t N> void operator()(const char (&word)[N])
    {
        text += QLatin1String(word, N - 1);
    }
    void operator()(QAnyStringView piece)
    {
        piece.visit([&](auto view) {
            if constexpr (std::is_same_v<decltype(view), QUtf8StringView>)
                text += QString::fromUtf8(view.data(), view.size());
            else
                text.append(view);
        });
    }
};

} // namespace

QAnyStringView Sentence::view() const
{
    if (isWide_)
        return wide_;
    return QLatin1String(latin1_.constData(), latin1Size_);
}

void Sentence::clear()
{
    latin1Size_ = 0; // the buffer keeps its room for the next sentence
    wide_.clear();
    isWide_ = false;
}

template <typename Write>
void Sentence::pieces(Write& write, QAnyStringView lat1, QAnyStringView lon1,
                      QAnyStringView lat2, QAnyStringView lon2, QAnyStringView number,
                      QLatin1String unitWord)
{
    write("Distance between (");
    write(lat1);
    write(",");
    write(lon1);
    write(") and (");
    write(lat2);
    write(",");
    write(lon2);
    write(") is ");
    write(number);
    write(unitWord);
}

void Sentence::compose(QAnyStringView lat1, QAnyStringView lon1, QAnyStringView lat2,
                       QAnyStringView lon2, QAnyStringView number, QLatin1String unitWord)
{
    clear();
    SizeCounter counter;
    pieces(counter, lat1, lon1, lat2, lon2, number, unitWord);
    if (latin1_.size() < counter.size)
        latin1_.resize(counter.size);
    Latin1Writer latin1(latin1_.data());
    pieces(latin1, lat1, lon1, lat2, lon2, number, unitWord);
    if (latin1.fitted()) {
        latin1Size_ = counter.size;
        return;
    }
    isWide_ = true;
    wide_.reserve(counter.size);
    WideWriter wide{wide_};
    pieces(wide, lat1, lon1, lat2, lon2, number, unitWord);
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
        throw core::Failure::invalidCall(); // square root of a negative number
    return finite(kHalfPi - std::atan(x / std::sqrt(rest)));
}

double SphericalDistanceMiles(double lat1, double lat2, double lon1, double lon2)
{
    engine::enterFormula();
    // Each angle converted once: its sine and cosine then come from one call.
    const double r1 = DegToRad(lat1), r2 = DegToRad(lat2);
    const double p = finite(std::sin(r1) * std::sin(r2));
    const double c1 = std::cos(r1);
    const double c2 = std::cos(r2);
    const double d = finite(lon1 - lon2);
    const double cd = std::cos(DegToRad(d));
    // Rounding can push the cosine a last bit past +-1 for nearly identical
    // or nearly antipodal points; those are distance 0 and half a turn.
    const double x = std::clamp(finite(c2 * c1 * cd + p), -1.0, 1.0);
    const double degrees = RadToDeg(ArcCos(x));
    return finite(degrees * kNauticalMilesPerDegree * kMilesPerNauticalMile);
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
    core::Trap trap("modZipDistance", "GetDistance");
    QLatin1String unitWord;
    quint8 places = 0;
    double factor = 0;
    double distance = 0;
    sentence.clear();

    // Options are tested in order; the first selected one sets the unit.
    for (int option = 1; option <= 4; ++option) {
        const int label = 102 + (option - 1) * 8;
        if (trap.test(label, [&] { return unitOptions(option); })) {
            const DistanceUnit& unit = *unitOfOption(option);
            trap.step(label + 2, [&] { unitWord = QLatin1String(unit.windowWord); });
            trap.step(label + 4, [&] { places = quint8(unit.places); });
            trap.step(label + 6, [&] { factor = unit.perMile; });
            break;
        }
    }
    const auto compose = [&](QAnyStringView number) {
        sentence.compose(lat1, lon1, lat2, lon2, number, unitWord);
    };
    if (trap.test(134, [&] { return sameTexts(lat1, lon1, lat2, lon2); })) {
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

} // namespace engine::modZipDistance
