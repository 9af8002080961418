#include "app/startmode.h"

#include <QSet>

namespace app {
namespace {

// Qt's own window options: those followed by a value ("-style fusion" or
// "-style=fusion"), and those that stand alone. Qt takes "--style" as well.
const QSet<QString> kWindowOptionsWithValue{
    "-platform",    "-platformpluginpath", "-platformtheme", "-plugin", "-qwindowgeometry",
    "-qwindowicon", "-qwindowtitle",       "-session",       "-style",  "-stylesheet",
    "-display",     "-geometry",           "-name",          "-title",  "-visual"};
const QSet<QString> kWindowFlags{"-reverse", "-widgetcount", "-nograb", "-dograb", "-sync"};

QString singleDash(const QString& argument)
{
    return argument.startsWith(QLatin1String("--")) ? argument.mid(1) : argument;
}

const QString kOpen = QStringLiteral("--open");

// The position of the first argument that is not one of Qt's window options;
// the size of the list when there is none.
qsizetype firstOwnArgument(const QStringList& arguments)
{
    qsizetype i = 0;
    for (; i < arguments.size(); ++i) {
        const QString option = singleDash(arguments[i]);
        const QString name = option.section(QLatin1Char('='), 0, 0);
        if (kWindowOptionsWithValue.contains(name))
            i += name == option ? 1 : 0; // the value is the next argument
        else if (!kWindowFlags.contains(option))
            break;
    }
    return i;
}

} // namespace

bool isCommandLineJob(const QStringList& arguments)
{
    const qsizetype first = firstOwnArgument(arguments);
    return first < arguments.size() && arguments[first] != kOpen;
}

QStringList filesToOpen(const QStringList& arguments)
{
    const qsizetype first = firstOwnArgument(arguments);
    return first < arguments.size() && arguments[first] == kOpen ? arguments.mid(first + 1)
                                                                 : QStringList();
}

} // namespace app
