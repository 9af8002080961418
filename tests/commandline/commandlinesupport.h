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

inline Finished runProgram(const QString& program, const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
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
