// Runs the list readers' tests: the markup formats (GPX, KML, TCX) and the
// formats with readers of their own and the packed files.

#include <QCoreApplication>

int runMarkupFormatsTest(int argc, char* argv[]);
int runPackedFormatsTest(int argc, char* argv[]);

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    int failed = runMarkupFormatsTest(argc, argv);
    failed |= runPackedFormatsTest(argc, argv);
    return failed;
}
