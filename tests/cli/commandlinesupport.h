#pragma once
// Runs the meridane program as a person's script would: no display, standard
// error not a terminal.

#include "testsupport.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

struct Finished {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

// input goes to its standard input (closed at once when empty); locale, when
// given, is its LC_ALL.
inline Finished runProgram(const QString& program, const QStringList& arguments,
                           const QByteArray& input = {}, const QString& locale = {})
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    if (!locale.isEmpty())
        environment.insert(QStringLiteral("LC_ALL"), locale);
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(120000);
    const bool crashed = process.exitStatus() != QProcess::NormalExit;
    return {crashed ? -1 : process.exitCode(), process.readAllStandardOutput(),
            process.readAllStandardError()};
}

using testsupport::readAll;

// The shared case: two list files, and what saving their kilometre run writes.
inline QString goldenPath(const char* name)
{
    return QDir(QStringLiteral(GOLDEN_DIR)).filePath(QLatin1String(name));
}
inline QStringList goldenLists() { return {goldenPath("points1.txt"), goldenPath("points2.txt")}; }
inline QByteArray goldenResults() { return readAll(goldenPath("results-kilometers.txt")); }
// What the command line notes on standard error about the shared lists.
inline QByteArray goldenNotes()
{
    return "meridane: " + goldenPath("points1.txt").toUtf8() + ": 1 line skipped (line 3)\n";
}
