#pragma once
// Starting other programs: finding one on the search path, reading the answer
// of a short query, and starting one detached so that it outlives us. Tests
// install a recorder so that nothing is ever launched.

#include "platform/seam.h"

#include <QString>
#include <QStringList>

namespace platform {

class ProcessStart {
public:
    virtual ~ProcessStart() = default;
    // Full path of the program, empty when it is not on the search path.
    virtual QString findProgram(const QString& name) = 0;
    // What the program writes to standard output; empty when it cannot run.
    virtual QString queryOutput(const QString& program, const QStringList& arguments) = 0;
    // False when the program could not be started.
    virtual bool startDetached(const QString& program, const QStringList& arguments) = 0;
};

template <> ProcessStart& real<ProcessStart>();

} // namespace platform
