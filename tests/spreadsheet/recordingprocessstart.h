#pragma once
// Process start for tests: programs "exist" when listed, queries answer with
// prepared texts, and started programs are only recorded.

#include "platform/system/processstart.h"

#include <QList>
#include <QMap>

class RecordingProcessStart final : public platform::ProcessStart {
public:
    platform::Replacement<platform::ProcessStart> seam{this};

    QMap<QString, QString> programs;     // name -> full path
    QMap<QString, QString> queryAnswers; // full path -> standard output
    bool startSucceeds = true;
    QList<QStringList> started; // program, then its arguments

    QString findProgram(const QString& name) override { return programs.value(name); }
    QString queryOutput(const QString& program, const QStringList&) override
    {
        return queryAnswers.value(program);
    }
    bool startDetached(const QString& program, const QStringList& arguments) override
    {
        started << (QStringList{program} + arguments);
        return startSucceeds;
    }
};
