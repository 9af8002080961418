#pragma once
// The one seam for modal UI: message boxes, the input box and the file dialogs.
// The program reaches them only through get<Dialogs>(); tests install a scripted one.

#include "platform/seam.h"

#include <QString>
#include <QStringList>

class QFileDialog;
class QWidget;

namespace platform {

enum class MessageIcon { None, Exclamation, Information };

struct FileDialogRequest {
    QString title;
    QString filter;   // "Text Files (*.txt)|*.txt|All Files (*.*)|*.*|"
    QString fileName; // what the dialog shows at first
    int flags = 0;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual void message(const QString& text, const QString& title, MessageIcon icon) = 0;
    // The typed text; the empty text when the box was cancelled.
    virtual QString inputBox(const QString& prompt, const QString& title,
                             const QString& defaultText) = 0;
    // Full paths of the chosen files in the dialog's order; empty when cancelled.
    virtual QStringList openFiles(const FileDialogRequest& request) = 0;
    // Full path of the chosen file; empty when cancelled.
    virtual QString saveFile(const FileDialogRequest& request) = 0;
};

template <> Dialogs& real<Dialogs>();
// The window that the real dialogs are modal to.
void setDialogParent(QWidget* parent);

// "Text Files (*.txt)|*.txt|All Files (*.*)|*.*|" as Qt name filters: each
// text with its patterns in parentheses after it, "*.*" as "*".
QStringList qtNameFilters(const QString& barFilter);
// Gives the dialog the filters, showing their texts as given.
void setBarFilter(QFileDialog& dialog, const QString& barFilter);

} // namespace platform
