// GetDistance on arbitrary texts, in every unit and several locales: it
// always returns the sentence of its four texts, reports at most once, and
// its number is a distance (0, in the locale's digits, after a report).

#include "core/reporterror.h"
#include "engine/modzipdistance.h"
#include "engine/numbers.h"
#include "fuzzinput.h"

#include <QStringList>

namespace {

// The error reports of one input, counted instead of shown.
int reports = 0;

const char* const kUnitWords[] = {"", " miles", " feets", " kilometers", " meters"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    core::setReportSink([](const QString&) { ++reports; });
    reports = 0;

    fuzz::Input input(data, size);
    const int unit = input.byte() % 5; // 0: no option selected
    QLocale::setDefault(fuzz::locale(input.byte()));
    QStringList texts = QString::fromUtf8(input.rest()).split(QLatin1Char('\n'));
    texts.resize(4);

    const QString sentence = engine::modZipDistance::GetDistance(
        texts[0], texts[1], texts[2], texts[3], engine::modZipDistance::selectedOption(unit));

    const QString head = QLatin1String("Distance between (") + texts[0] + QLatin1Char(',') +
                         texts[1] + QLatin1String(") and (") + texts[2] + QLatin1Char(',') +
                         texts[3] + QLatin1String(") is ");
    const QLatin1String word(kUnitWords[unit]);
    fuzz::check(sentence.startsWith(head) && sentence.endsWith(word) &&
                    sentence.size() > head.size() + word.size(),
                "not the sentence of the texts", sentence);
    const QString number = sentence.mid(head.size(), sentence.size() - head.size() - word.size());
    if (texts[0] == texts[2] && texts[1] == texts[3]) {
        fuzz::check(number == QLatin1String("0 ") && reports == 0, "same texts give no zero form",
                    sentence);
        return 0;
    }
    fuzz::check(reports <= 1, "more than one report", sentence);
    if (reports == 1 || unit == 0) {
        fuzz::check(number == engine::numberText(0, 0), "no 0 after a report or without unit",
                    sentence);
        return 0;
    }
    const auto distance = engine::toNumber(number);
    fuzz::check(distance.has_value() && *distance >= 0 && *distance <= 66e6,
                "the number is no distance", sentence);
    return 0;
}
