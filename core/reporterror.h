#pragma once
// The error report: one message naming the failure, the procedure and the
// step, with the request to send a screenshot. Where it goes is up to the
// program around it: the window shows it in a message box, a job without a
// window writes it to standard error. Each installs its sink.

#include <QString>
#include <functional>

namespace core {

QString errorReportText(const QString& location, int label, const QString& description);
void ReportError(const QString& location, int label, const QString& description);

// Takes every report's text from now on; an empty sink writes to standard
// error. Gives back the sink it replaces.
using ReportSink = std::function<void(const QString& text)>;
ReportSink setReportSink(ReportSink sink);

} // namespace core
