#pragma once
// The modal UI of a job without a window: every message becomes one line on
// standard error, "meridane: " and the file being worked on before it; an
// error report keeps its description, location and line label and drops the
// request for a screenshot. Questions get the answer of a cancelled dialog.

#include "cli/console/terminalprogress.h"
#include "platform/dialogs/dialogs.h"

#include <QString>
#include <cstdio>

namespace cli {

class ConsoleDialogs : public platform::Dialogs {
public:
    explicit ConsoleDialogs(std::FILE* out = stderr);

    // The file that later messages are about; the empty text for none.
    void setSubject(const QString& path) { subject_ = path; }
    // A bar on the same terminal, cleared before each message.
    void setProgress(TerminalProgress* progress) { progress_ = progress; }
    // How many messages were written.
    int messages() const { return messages_; }

    void message(const QString& text, const QString& title, platform::MessageIcon icon) override;
    QString inputBox(const QString&, const QString&, const QString&) override { return {}; }
    QStringList openFiles(const platform::FileDialogRequest&) override { return {}; }
    QString saveFile(const platform::FileDialogRequest&) override { return {}; }

    // "Path/File access error in Orvanta2021/08/31.Main.X at line 156" from the
    // report's text: its first paragraph, line breaks as spaces.
    static QString oneLine(const QString& text);

private:
    std::FILE* out_;
    QString subject_;
    TerminalProgress* progress_ = nullptr;
    int messages_ = 0;
};

} // namespace cli
