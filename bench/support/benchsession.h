#pragma once
// What every benchmark sets up: the offscreen platform (unless another is
// named), the application, the English locale, dialogs that answer at once
// as a user pressing OK would, and the loaded window, shown.

#include "app/form1.h"
#include "benchutil.h"
#include "platform/dialogs.h"

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

class Session {
public:
    Session(int& argc, char** argv)
        : app_(offscreenFirst(argc), argv)
    {
        platform::setDialogs(&dialogs);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        form.Form_Load();
        form.show();
    }
    ~Session() { platform::setDialogs(nullptr); }

private:
    static int& offscreenFirst(int& argc)
    {
        offscreenByDefault();
        return argc;
    }

    QApplication app_; // first: the window needs it

public:
    QuietDialogs dialogs;
    Form1 form;
};

} // namespace bench
