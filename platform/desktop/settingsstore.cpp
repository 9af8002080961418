#include "platform/desktop/settingsstore.h"

#include "core/failure.h"
#include "files/regularfile.h"

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
    // A pipe or a device there reads as an empty store: QSettings would wait
    // for the pipe's writer, or read a device without end.
    if (!files::regularOrMissing(fileOf(application)))
        return defaultValue;
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
    // QSettings would replace whatever lies there (a link to a device: the
    // device) with a new file.
    const QString file = fileOf(application);
    if (!files::regularOrMissing(file))
        throw core::Failure{75, QStringLiteral("Settings cannot be written: ") + file +
                                    QStringLiteral(" is not a regular file")};
    QSettings settings(file, QSettings::IniFormat);
    settings.beginGroup(section);
    settings.setValue(key, value);
    // Closing the window ends the process at once: nothing may wait for a
    // later flush.
    settings.sync();
    if (settings.status() != QSettings::NoError)
        throw core::Failure{75, QStringLiteral("Settings cannot be written to ") + file};
}

template <> SettingsStore& real<SettingsStore>()
{
    // The folder is looked up on first use, so a test that moves it first is honoured.
    static IniSettingsStore user(userConfigFolder());
    return user;
}

} // namespace platform
