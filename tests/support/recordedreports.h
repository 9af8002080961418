#pragma once
// Error reports for tests without dialogs: every report's text, recorded
// while the recorder lives.

#include "core/reporterror.h"

#include <QStringList>

struct RecordedReports {
    QStringList texts;

    RecordedReports()
        : previous_(core::setReportSink([this](const QString& text) { texts << text; }))
    {
    }
    ~RecordedReports() { core::setReportSink(previous_); }

private:
    core::ReportSink previous_;
};
