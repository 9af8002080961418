#pragma once
// Reading a fuzzer's bytes: a few leading bytes choose the settings of a
// case, the rest is its text.

#include <QByteArrayView>
#include <QLocale>
#include <QString>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace fuzz {

class Input {
public:
    Input(const uint8_t* data, size_t size)
        : bytes_(reinterpret_cast<const char*>(data), qsizetype(size))
    {
    }
    // The next byte, 0 once the bytes are used up.
    uint8_t byte()
    {
        if (bytes_.isEmpty())
            return 0;
        const auto b = static_cast<uint8_t>(bytes_.front());
        bytes_ = bytes_.sliced(1);
        return b;
    }
    QByteArrayView rest() const { return bytes_; }

private:
    QByteArrayView bytes_;
};

// Locales of every kind: "." or "," separators, other minus signs, other
// digits, digits beyond 16 bits.
inline QLocale locale(uint8_t choice)
{
    static const std::array<QLocale, 9> locales{QLocale(QLocale::English, QLocale::UnitedStates),
                                                QLocale(QLocale::German, QLocale::Germany),
                                                QLocale(QLocale::French, QLocale::France),
                                                QLocale(QLocale::Swedish, QLocale::Sweden),
                                                QLocale(QLocale::Arabic, QLocale::Egypt),
                                                QLocale(QLocale::Persian, QLocale::Iran),
                                                QLocale(QLocale::Marathi, QLocale::India),
                                                QLocale(QLocale::Chakma),
                                                QLocale(QLocale::C)};
    return locales[choice % locales.size()];
}

// A broken property: says which and stops, so that the fuzzer keeps the input.
[[noreturn]] inline void fail(const char* what, const QString& detail)
{
    std::fprintf(stderr, "%s: %s\n", what, qUtf8Printable(detail));
    std::abort();
}

inline void check(bool holds, const char* what, const QString& detail)
{
    if (!holds)
        fail(what, detail);
}

} // namespace fuzz
