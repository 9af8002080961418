#include "app/commandline.h"
#include "app/form1.h"

#include <QApplication>
#include <QCoreApplication>

int main(int argc, char* argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("meridane"));
    QCoreApplication::setApplicationVersion(QStringLiteral(MERIDANE_VERSION));
    // With arguments the job runs without a window: no display is needed.
    if (argc > 1) {
        QCoreApplication application(argc, argv);
        return app::RunCommandLine(application);
    }
    QApplication app(argc, argv);
    Form1 form;
    form.Form_Load();
    form.show();
    return app.exec();
}
