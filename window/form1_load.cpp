// The window's start-up and its end.

#include "window/form1.h"

#include "window/icons.h"
#include "core/trap.h"
#include "output/laststep.h"
#include "platform/system/endprocess.h"
#include "window/chrome/applicationtitle.h"
#include "files/fileexists.h"
#include "window/chrome/homepage.h"
#include "window/chrome/skin.h"

namespace window {

void Form1::Form_Load()
{
    core::Trap trap(core::location("Form1", "Form_Load"));
    trap.step(102, [&] { chrome::ApplySkin(*this); });
    trap.step(104, [&] {
        setWindowTitle(chrome::kProductTitle);
        setWindowIcon(icons::application());
        chrome::SetApplicationTitle();
    });
    if (trap.test(106, [&] { return files::FileExists(chrome::HandCursorPath()); }))
        trap.step(108, [&] { loadCustomPointer(chrome::HandCursorPath()); });
    trap.step(110, [&] { chrome::OpenHomePageAtRandom(); });
    trap.step(126, [&] { ListView1->addColumn(QStringLiteral("Latitude")); });
    trap.step(128, [&] { ListView1->addColumn(QStringLiteral("Longitude")); });
    trap.step(130, [&] { ListView1->setColumnWidthTwips(1, 3500); });
    trap.step(132, [&] { ListView1->setColumnWidthTwips(2, 3500); });
    trap.step(134, [&] { ListView2->addColumn(QStringLiteral("Results")); });
    trap.step(136, [&] { ListView2->setColumnWidthTwips(1, 7000); });
    trap.step(152, [&] { restoreUnitOption(1, QStringLiteral("1")); });
    trap.step(154, [&] { restoreUnitOption(2, QStringLiteral("0")); });
    trap.step(156, [&] { restoreUnitOption(3, QStringLiteral("0")); });
    trap.step(158, [&] { restoreUnitOption(4, QStringLiteral("0")); });
}

void Form1::Form_QueryUnload() {}

void Form1::Form_Unload()
{
    // Ends the process at once, also from the middle of a run that is
    // yielding; a save's last step that is running finishes first.
    output::finishLastSteps();
    platform::endProcess();
}

} // namespace window
