// The window's start-up and its end.

#include "app/form1.h"

#include "app/icons.h"
#include "platform/process.h"
#include "shell/support.h"
#include "shell/trap.h"

void Form1::Form_Load()
{
    shell::Trap trap(shell::location("Form1", "Form_Load"));
    trap.step(104, [&] {
        setWindowTitle(QStringLiteral("Meridane"));
        setWindowIcon(icons::application());
    });
    trap.step(126, [&] { ListView1->addColumn(QStringLiteral("Latitude")); });
    trap.step(128, [&] { ListView1->addColumn(QStringLiteral("Longitude")); });
    trap.step(130, [&] { ListView1->setColumnWidthTwips(1, 3500); });
    trap.step(132, [&] { ListView1->setColumnWidthTwips(2, 3500); });
    trap.step(134, [&] { ListView2->addColumn(QStringLiteral("Results")); });
    trap.step(136, [&] { ListView2->setColumnWidthTwips(1, 7000); });
}

void Form1::Form_QueryUnload() {}

void Form1::Form_Unload()
{
    // Ends the process at once, also from the middle of a run that is yielding.
    platform::endProcess();
}
