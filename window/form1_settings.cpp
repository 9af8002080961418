// The unit kept between starts: every click on a unit button writes the
// states of all four to the settings store; the load reads them back.

#include "window/form1.h"

#include "engine/booleans.h"
#include "core/trap.h"
#include "platform/desktop/settingsstore.h"

#include <exception>
#include <utility>

namespace window {

namespace {

const QString kApplication = QStringLiteral("Haldrun");
const QString kSection = QStringLiteral("Meridane");

QString keyOf(int k) { return QStringLiteral("Option") + QString::number(k); }

} // namespace

void Form1::connectOptionHandlers()
{
    const std::pair<QRadioButton*, void (Form1::*)()> clicks[] = {
        {Option1, &Form1::Option1_Click},
        {Option2, &Form1::Option2_Click},
        {Option3, &Form1::Option3_Click},
        {Option4, &Form1::Option4_Click},
    };
    for (const auto& [o, handler] : clicks)
        connect(o, &QRadioButton::clicked, this, handler);
}

void Form1::Option1_Click() { writeUnitKeys("Option1_Click"); }
void Form1::Option2_Click() { writeUnitKeys("Option2_Click"); }
void Form1::Option3_Click() { writeUnitKeys("Option3_Click"); }
void Form1::Option4_Click() { writeUnitKeys("Option4_Click"); }

// One step: a store that cannot be written is reported at the first click
// that fails, not at every one after it; the unit stays selected for this
// session either way.
void Form1::writeUnitKeys(const char* handler)
{
    std::exception_ptr failed;
    try {
        writeUnitStates();
    } catch (...) {
        failed = std::current_exception();
    }
    if (!failed || std::exchange(storeFailureReported_, true))
        return;
    core::Trap trap(core::location("Form1", handler));
    trap.step(100, [&] { std::rethrow_exception(failed); });
}

// The restore at the start writes the states back as a click would, but
// the user did nothing: a store that cannot be written says nothing here.
void Form1::writeRestoredUnit()
{
    try {
        writeUnitStates();
    } catch (...) {
    }
}

void Form1::writeUnitStates()
{
    for (int k = 1; k <= 4; ++k)
        platform::get<platform::SettingsStore>().write(kApplication, kSection, keyOf(k),
                                                       engine::booleanText(option(k)->isChecked()));
}

// Selecting a button clears the others and writes the four states as its
// click does, without a report; clearing one changes only that button. A
// stored text that is no Boolean fails before the button changes.
void Form1::restoreUnitOption(int k, const QString& defaultText)
{
    const bool selected = engine::booleanOf(platform::get<platform::SettingsStore>().read(
        kApplication, kSection, keyOf(k), defaultText));
    QRadioButton* button = option(k);
    if (selected) {
        button->setChecked(true);
        writeRestoredUnit();
        return;
    }
    // The buttons of a frame never let the selected one be cleared on its own.
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(true);
}

} // namespace window
