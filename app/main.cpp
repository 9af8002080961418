#include "app/commandline.h"
#include "app/form1.h"
#include "app/nodisplay.h"
#include "app/startmode.h"

#include <QApplication>
#include <QCoreApplication>

int main(int argc, char* argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("meridane"));
    QCoreApplication::setApplicationVersion(QStringLiteral(MERIDANE_VERSION));
    // With arguments of its own the job runs without a window: no display is
    // needed. Qt's window options alone (a restored session) open the window.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (app::IsCommandLineJob(arguments)) {
        QCoreApplication application(argc, argv);
        return app::RunCommandLine(application);
    }
    if (app::NoDisplay(arguments, QProcessEnvironment::systemEnvironment()))
        return app::ReportNoDisplay();
    QApplication app(argc, argv);
    Form1 form;
    form.Form_Load();
    form.show();
    return app.exec();
}
