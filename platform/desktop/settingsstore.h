#pragma once
// The per-user settings store: text values addressed by application name,
// section and key. The real one keeps each application's values in an INI
// file in the user's configuration folder; tests install their own.

#include "platform/seam.h"

#include <QString>

namespace platform {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The stored text, or `defaultValue` when the key is missing.
    virtual QString read(const QString& application, const QString& section, const QString& key,
                         const QString& defaultValue) = 0;
    // Stores the text; it is in the file when this returns. A store that
    // cannot be written fails (Failure).
    virtual void write(const QString& application, const QString& section, const QString& key,
                       const QString& value) = 0;
};

// Keeps every application's values in "<folder>/<application>.conf", one INI
// group per section. Only a regular file is read or replaced: anything else
// there (a pipe, a device, a folder) reads as empty and fails a write.
class IniSettingsStore final : public SettingsStore {
public:
    explicit IniSettingsStore(QString folder);
    QString read(const QString& application, const QString& section, const QString& key,
                 const QString& defaultValue) override;
    void write(const QString& application, const QString& section, const QString& key,
               const QString& value) override;
    QString fileOf(const QString& application) const;

private:
    QString folder_;
};

// The user's store: IniSettingsStore on the user's configuration folder
// ($XDG_CONFIG_HOME, by default ~/.config).
template <> SettingsStore& real<SettingsStore>();

} // namespace platform
