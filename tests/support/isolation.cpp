#include "isolation.h"

#include "platform/programfolder.h"
#include "platform/randomdraw.h"
#include "platform/urlopener.h"

#include <QTemporaryDir>
#include <memory>

namespace {

class NeverSeven final : public platform::RandomDraw {
public:
    void seed(int) override {}
    double next() override { return 0.5; }
};

class OpensNothing final : public platform::UrlOpener {
public:
    bool open(const QUrl&) override { return true; }
};

struct Isolation {
    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<platform::IniSettingsStore> store;
    NeverSeven draw;
    OpensNothing opener;

    Isolation() { reset(); }

    void reset()
    {
        folder = std::make_unique<QTemporaryDir>();
        store = std::make_unique<platform::IniSettingsStore>(folder->path());
        platform::setSettingsStore(store.get());
        platform::setProgramFolder(folder->filePath(QStringLiteral("program")));
        platform::setRandomDraw(&draw);
        platform::setUrlOpener(&opener);
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
