#include "core/latin1.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace core {
namespace {

// Calls eight(at) for each group of eight units, the last group overlapping
// the one before where the size is no multiple of eight; returns the units
// done (none below eight, left to a loop of one at a time).
template <typename Eight> qsizetype inGroupsOfEight(qsizetype size, Eight eight)
{
    if (size < 8)
        return 0;
    qsizetype i = 0;
    for (; i + 8 <= size; i += 8)
        eight(i);
    if (i < size)
        eight(size - 8);
    return size;
}

} // namespace

bool narrowToLatin1(QStringView text, char* out)
{
    const char16_t* in = text.utf16();
    const qsizetype size = text.size();
    char16_t bits = 0;
    qsizetype i = 0;
#if defined(__SSE2__)
    // Eight at a time: packed to bytes, and any high byte marks a character
    // beyond Latin-1. The last eight may overlap the ones before: the bytes
    // written twice are the same.
    const __m128i highBytes = _mm_set1_epi16(static_cast<short>(0xff00));
    const __m128i zero = _mm_setzero_si128();
    const auto eight = [&](qsizetype at) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + at));
        const __m128i high = _mm_and_si128(units, highBytes);
        if (_mm_movemask_epi8(_mm_cmpeq_epi16(high, zero)) != 0xffff)
            bits |= 0x100;
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + at), _mm_packus_epi16(units, units));
    };
    i = inGroupsOfEight(size, eight);
#endif
    for (; i < size; ++i) {
        bits |= in[i];
        out[i] = static_cast<char>(in[i]);
    }
    return bits <= 0xff;
}

namespace {

bool refused(char16_t c, bool plain)
{
    return c >= 0x80 || (plain && (c < 0x20 || c == u',' || c == u'"' || c == u'\\'));
}

} // namespace

bool narrowToAscii(QStringView text, char* out, bool plain)
{
    const char16_t* in = text.utf16();
    const qsizetype size = text.size();
    qsizetype i = 0;
    bool refusing = false;
#if defined(__SSE2__)
    // Eight at a time, as above; the tests of all eight gathered in one mask.
    const __m128i beyondAscii = _mm_set1_epi16(static_cast<short>(0xff80));
    const __m128i zero = _mm_setzero_si128();
    const __m128i space = _mm_set1_epi16(0x20);
    const __m128i comma = _mm_set1_epi16(','), quote = _mm_set1_epi16('"'),
                  backslash = _mm_set1_epi16('\\');
    __m128i bad = zero;
    const auto eight = [&](qsizetype at) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + at));
        bad = _mm_or_si128(bad, _mm_andnot_si128(
                                    _mm_cmpeq_epi16(_mm_and_si128(units, beyondAscii), zero),
                                    _mm_set1_epi16(-1)));
        if (plain) // below a space, signed: beyond ASCII is caught above anyway
            bad = _mm_or_si128(
                bad, _mm_or_si128(_mm_or_si128(_mm_cmplt_epi16(units, space),
                                               _mm_cmpeq_epi16(units, comma)),
                                  _mm_or_si128(_mm_cmpeq_epi16(units, quote),
                                               _mm_cmpeq_epi16(units, backslash))));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + at), _mm_packus_epi16(units, units));
    };
    i = inGroupsOfEight(size, eight);
    refusing = _mm_movemask_epi8(bad) != 0;
#endif
    for (; i < size; ++i) {
        refusing |= refused(in[i], plain);
        out[i] = static_cast<char>(in[i]);
    }
    return !refusing;
}

} // namespace core
