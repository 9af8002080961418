#include "platform/dialogs/dialogs.h"

#include "platform/dialogs/fixedwindow.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QRegularExpression>

namespace platform {
namespace {

QPointer<QWidget> dialogParent;

// Message texts use CR, LF and CR LF as line breaks; Qt's boxes only know LF.
QString displayText(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

class QtDialogs final : public Dialogs {
public:
    void message(const QString& text, const QString& title, MessageIcon icon) override
    {
        QMessageBox box(dialogParent);
        box.setWindowTitle(title);
        box.setText(displayText(text));
        box.setTextFormat(Qt::PlainText);
        box.setIcon(icon == MessageIcon::Exclamation   ? QMessageBox::Warning
                    : icon == MessageIcon::Information ? QMessageBox::Information
                                                       : QMessageBox::NoIcon);
        box.setStandardButtons(QMessageBox::Ok);
        keepFixedSize(&box);
        box.exec();
    }

    QString inputBox(const QString& prompt, const QString& title,
                     const QString& defaultText) override
    {
        bool ok = false;
        const QString text =
            QInputDialog::getText(dialogParent, title, prompt, QLineEdit::Normal, defaultText, &ok);
        return ok ? text : QString();
    }

    QStringList openFiles(const FileDialogRequest& request) override
    {
        // A folder opens as itself; a file opens its folder, the file selected.
        QFileDialog dialog(dialogParent, request.title, request.fileName);
        setBarFilter(dialog, request.filter);
        dialog.setFileMode(QFileDialog::ExistingFiles);
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
    }

    QString saveFile(const FileDialogRequest& request) override
    {
        QFileDialog dialog(dialogParent, request.title, request.fileName);
        setBarFilter(dialog, request.filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    }
};

} // namespace

template <> Dialogs& real<Dialogs>() { return made<QtDialogs>(); }

void setDialogParent(QWidget* parent) { dialogParent = parent; }

QStringList qtNameFilters(const QString& barFilter)
{
    const QStringList parts = barFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            continue;
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        // "*.*" stands for every file, names without a dot included.
        patterns.replaceInStrings(QRegularExpression(QStringLiteral("^\\*\\.\\*$")),
                                  QStringLiteral("*"));
        // The dialog takes the patterns from the last parentheses and, with
        // their details hidden, shows the text before them: the filter's own.
        filters << parts[i] + QLatin1String(" (") + patterns.join(QLatin1Char(' ')) +
                       QLatin1Char(')');
    }
    return filters;
}

void setBarFilter(QFileDialog& dialog, const QString& barFilter)
{
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(qtNameFilters(barFilter));
}

} // namespace platform
