#include "cli/commandline.h"
#include "cli/standardinput.h"
#include "window/form1.h"
#include "app/nodisplay.h"
#include "app/startmode.h"

#include <QApplication>
#include <QCoreApplication>

int main(int argc, char* argv[])
{
    // Before anything opens a descriptor that could take the place of a
    // closed standard input.
    cli::noteStandardInput();
    QCoreApplication::setApplicationName(QStringLiteral("meridane"));
    QCoreApplication::setApplicationVersion(QStringLiteral(MERIDANE_VERSION));
    // With arguments of its own the job runs without a window: no display is
    // needed. Qt's window options alone (a restored session) open the window.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (app::isCommandLineJob(arguments)) {
        QCoreApplication application(argc, argv);
        return cli::RunCommandLine(argc, argv);
    }
    // Only platforms that can open the window are tried: Wayland without its
    // plugin or compositor gives way to X11, or to the one-line report.
    const QString platforms =
        app::UsablePlatforms(arguments, QProcessEnvironment::systemEnvironment());
    if (platforms.isEmpty())
        return app::reportNoDisplay();
    app::PlatformChoice choice(platforms);
    // The menu entry's name: Wayland's application id, and the window's
    // class on X11 ("meridane") is the entry's StartupWMClass.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.meridane.Meridane"));
    QApplication app(argc, argv);
    choice.restore();
    window::Form1 form;
    form.Form_Load();
    form.show();
    // "--open FILE...": the files load once the window is up.
    const QStringList files = app::filesToOpen(arguments);
    if (!files.isEmpty())
        QMetaObject::invokeMethod(
            &form, [&] { form.LoadListFiles(files); }, Qt::QueuedConnection);
    return app.exec();
}
