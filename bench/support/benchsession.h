#pragma once
// What every benchmark sets up: the offscreen platform (unless another is
// named), the application, the English locale, dialogs that answer at once
// as a user pressing OK would, and the loaded window, shown.

#include "window/form1.h"
#include "benchutil.h"
#include "engine/modzipdistance.h"
#include "platform/dialogs/dialogs.h"
#include "platform/desktop/settingsstore.h"
#include "platform/system/urlopener.h"

#include <QApplication>
#include <QLocale>

namespace bench {

class QuietDialogs final : public platform::Dialogs {
public:
    int messages = 0;
    QString savePath; // what the save dialog answers

    void message(const QString&, const QString&, platform::MessageIcon) override { ++messages; }
    QString inputBox(const QString&, const QString&, const QString&) override { return {}; }
    QStringList openFiles(const platform::FileDialogRequest&) override { return {}; }
    QString saveFile(const platform::FileDialogRequest&) override { return savePath; }
};

// Settings kept in memory: a benchmark never touches the user's store.
class MemorySettings final : public platform::SettingsStore {
public:
    QString read(const QString&, const QString&, const QString& key, const QString& def) override
    {
        return values.value(key, def);
    }
    void write(const QString&, const QString&, const QString& key, const QString& value) override
    {
        values[key] = value;
    }
    QHash<QString, QString> values;
};

// The start-up draw may pick the home page: a benchmark opens nothing.
class NoPages final : public platform::UrlOpener {
public:
    bool open(const QUrl&) override { return true; }
};

// The checked results of a run over that many generated points, as a run
// leaves them in a list.
inline void fillResults(widgets::ListView& list, qsizetype points)
{
    const PointTexts p(points);
    engine::modZipDistance::Sentence sentence;
    for (qsizetype i = 0; i + 1 < p.size(); ++i) {
        engine::modZipDistance::GetDistance(p.latitude(i), p.longitude(i), p.latitude(i + 1),
                                            p.longitude(i + 1),
                                            engine::modZipDistance::selectedOption(1), sentence);
        list.setChecked(list.addItemView(sentence.view()), true);
    }
}

class Session {
public:
    Session(int& argc, char** argv)
        : app_(offscreenFirst(argc), argv)
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        form.Form_Load();
        form.show();
    }

private:
    static int& offscreenFirst(int& argc)
    {
        offscreenByDefault();
        return argc;
    }

    QApplication app_; // first: the window needs it

public:
    QuietDialogs dialogs;
    MemorySettings settings;
    NoPages pages;
    platform::Replacement<platform::Dialogs> dialogsSeam{&dialogs};
    platform::Replacement<platform::SettingsStore> settingsSeam{&settings};
    platform::Replacement<platform::UrlOpener> pagesSeam{&pages};
    window::Form1 form;
};

} // namespace bench
