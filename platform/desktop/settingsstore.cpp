#include "platform/desktop/settingsstore.h"

#include <QSettings>
#include <QStandardPaths>

namespace platform {
namespace {

QString userConfigFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

} // namespace

IniSettingsStore::IniSettingsStore(QString folder)
    : folder_(std::move(folder))
{
}

QString IniSettingsStore::fileOf(const QString& application) const
{
    return folder_ + QLatin1Char('/') + application + QLatin1String(".conf");
}

QString IniSettingsStore::read(const QString& application, const QString& section,
                               const QString& key, const QString& defaultValue)
{
    QSettings settings(fileOf(application), QSettings::IniFormat);
    settings.beginGroup(section);
    const QVariant value = settings.value(key);
    if (!value.isValid())
        return defaultValue;
    // A hand-edited value such as "1, 2" reads as a list: hand it on as written.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1String(", "));
    return value.toString();
}

void IniSettingsStore::write(const QString& application, const QString& section, const QString& key,
                             const QString& value)
{
    QSettings settings(fileOf(application), QSettings::IniFormat);
    settings.beginGroup(section);
    settings.setValue(key, value);
    // Closing the window ends the process at once: nothing may wait for a
    // later flush.
    settings.sync();
}

template <> SettingsStore& real<SettingsStore>()
{
    // The folder is looked up on first use, so a test that moves it first is honoured.
    static IniSettingsStore user(userConfigFolder());
    return user;
}

} // namespace platform
