// Runs the list readers' tests: the markup formats (GPX, KML, TCX) and the
// formats with readers of their own and the packed files, the format told
// by the first bytes and the lines of the bytes, the points' times.

#include <QCoreApplication>

int runMarkupFormatsTest(int argc, char* argv[]);
int runPackedFormatsTest(int argc, char* argv[]);
int runRecordsTest(int argc, char* argv[]);
int runTimesTest(int argc, char* argv[]);

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    int failed = runMarkupFormatsTest(argc, argv);
    failed |= runPackedFormatsTest(argc, argv);
    failed |= runRecordsTest(argc, argv);
    failed |= runTimesTest(argc, argv);
    return failed;
}
