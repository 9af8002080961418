#pragma once
// The window's common file dialog: the properties that the load and save
// handlers set, and ShowOpen/ShowSave. After a multiple selection FileName
// holds the folder, then each name, joined by NUL characters. A selection
// that does not fit into MaxFileSize characters fails with number 20476.

#include <QString>
#include <QStringList>

namespace platform {

class CommonDialog {
public:
    static constexpr int kBufferTooSmall = 20476;

    QString FileName;
    int Flags = 0;
    QString DialogTitle;
    QString Filter;
    int MaxFileSize = 260;

    void ShowOpen();
    void ShowSave();
    // Files opened without the dialog (dropped, or named on the command
    // line): the save dialog starts as after ShowOpen had picked them.
    void Opened(const QStringList& paths);

private:
    QString saveStart() const;

    QString opened_; // FileName as ShowOpen left it
};

// FileName as the dialog leaves it for the chosen paths. Paths from several
// folders (a recent-files view) are given as their nearest common folder and
// names relative to it, so that joining the two finds each file again.
QString selectionText(const QStringList& paths);

} // namespace platform
