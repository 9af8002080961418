// Runs the output tests: the text file, the clipboard and the two buttons.

#include <QApplication>
#include <QLocale>
#include <QStandardPaths>

int runTextWriterTest(int argc, char** argv);
int runClipboardTest(int argc, char** argv);
int runOutputHandlersTest(int argc, char** argv);

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QStandardPaths::setTestModeEnabled(true);
    int failed = runTextWriterTest(argc, argv);
    failed |= runClipboardTest(argc, argv);
    failed |= runOutputHandlersTest(argc, argv);
    return failed;
}
