#include "isolation.h"

#include "core/reporterror.h"
#include "platform/system/programfolder.h"
#include "platform/desktop/randomdraw.h"
#include "platform/system/urlopener.h"
#include "platform/dialogs/reportbox.h"

#include <QTemporaryDir>
#include <memory>

namespace {

// The draw never gives 7, and the opener opens nothing.
struct QuietDesktop final : platform::RandomDraw, platform::UrlOpener {
    void seed(int) override {}
    double next() override { return 0.5; }
    bool open(const QUrl&) override { return true; }
};

struct Isolation {
    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<platform::IniSettingsStore> store;
    QuietDesktop desktop;

    Isolation() { reset(); }

    void reset()
    {
        folder = std::make_unique<QTemporaryDir>();
        store = std::make_unique<platform::IniSettingsStore>(folder->path());
        platform::replace<platform::SettingsStore>(store.get());
        platform::setProgramFolder(folder->filePath(QStringLiteral("program")));
        platform::replace<platform::RandomDraw>(&desktop);
        platform::replace<platform::UrlOpener>(&desktop);
        core::setReportSink(platform::ReportInMessageBox);
    }
};

Isolation& instance()
{
    static Isolation isolation;
    return isolation;
}

// Installed before main runs.
[[maybe_unused]] const bool installed = (instance(), true);

} // namespace

namespace isolation {

platform::IniSettingsStore& settings() { return *instance().store; }

void reset() { instance().reset(); }

} // namespace isolation
