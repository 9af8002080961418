#include "platform/system/processstart.h"

#include <QProcess>
#include <QStandardPaths>

namespace platform {
namespace {

class RealProcessStart final : public ProcessStart {
public:
    QString findProgram(const QString& name) override
    {
        return QStandardPaths::findExecutable(name);
    }

    QString queryOutput(const QString& program, const QStringList& arguments) override
    {
        QProcess process;
        process.start(program, arguments, QIODevice::ReadOnly);
        // A query that hangs must not freeze the window for long.
        if (!process.waitForFinished(5000)) {
            process.kill();
            process.waitForFinished(1000);
            return {};
        }
        if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
            return {};
        return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
    }

    bool startDetached(const QString& program, const QStringList& arguments) override
    {
        QProcess process;
        process.setProgram(program);
        process.setArguments(arguments);
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        return process.startDetached();
    }
};

} // namespace

template <> ProcessStart& real<ProcessStart>() { return made<RealProcessStart>(); }

} // namespace platform
