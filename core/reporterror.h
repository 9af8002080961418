#pragma once
// The error report: one modal message naming the failure, the procedure and
// the step, with the request to send a screenshot.

#include <QString>

namespace shell {

QString errorReportText(const QString& location, int label, const QString& description);
void ReportError(const QString& location, int label, const QString& description);

} // namespace shell
