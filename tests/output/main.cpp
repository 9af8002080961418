// Runs the output tests: the text file, the clipboard and the two buttons.
// Each test object writes its results on its own: "-o out.xml,xml" becomes
// "-o out-TextWriterTest.xml,xml" for the text writer's, and so on.

#include <QApplication>
#include <QFileInfo>
#include <QStandardPaths>

int runTextWriterTest(const QStringList& arguments);
int runClipboardTest(const QStringList& arguments);
int runOutputHandlersTest(const QStringList& arguments);

namespace {

QStringList argumentsFor(QStringList arguments, const QString& object)
{
    for (qsizetype i = 1; i + 1 < arguments.size(); ++i) {
        if (arguments[i] != QLatin1String("-o"))
            continue;
        QString& output = arguments[++i];
        const qsizetype comma = output.lastIndexOf(QLatin1Char(','));
        const QString file = output.left(comma);
        if (file == QLatin1String("-"))
            continue; // standard output
        const QFileInfo info(file);
        QString named =
            info.path() + QLatin1Char('/') + info.completeBaseName() + QLatin1Char('-') + object;
        if (!info.suffix().isEmpty())
            named += QLatin1Char('.') + info.suffix();
        output.replace(0, file.size(), named);
    }
    return arguments;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    const QStringList arguments = QCoreApplication::arguments();
    int failed = runTextWriterTest(argumentsFor(arguments, QStringLiteral("TextWriterTest")));
    failed |= runClipboardTest(argumentsFor(arguments, QStringLiteral("ClipboardTest")));
    failed |= runOutputHandlersTest(argumentsFor(arguments, QStringLiteral("OutputHandlersTest")));
    return failed;
}
