#include "platform/dialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>

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
        return QFileDialog::getOpenFileNames(dialogParent, request.title, request.fileName,
                                             qtNameFilters(request.filter));
    }

    QString saveFile(const FileDialogRequest& request) override
    {
        return QFileDialog::getSaveFileName(dialogParent, request.title, request.fileName,
                                            qtNameFilters(request.filter), nullptr,
                                            QFileDialog::DontConfirmOverwrite);
    }
};

Dialogs* current = nullptr;

} // namespace

Dialogs& dialogs()
{
    static QtDialogs real;
    return current ? *current : real;
}

void setDialogs(Dialogs* replacement) { current = replacement; }

void setDialogParent(QWidget* parent) { dialogParent = parent; }

QString qtNameFilters(const QString& barFilter)
{
    const QStringList parts = barFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            continue;
        const QString patterns = QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << (parts[i].contains(QLatin1Char('('))
                        ? parts[i]
                        : parts[i] + QLatin1String(" (") + patterns + QLatin1Char(')'));
    }
    return filters.join(QLatin1String(";;"));
}

} // namespace platform
