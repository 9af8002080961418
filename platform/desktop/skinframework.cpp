#include "platform/desktop/skinframework.h"

#include "core/failure.h"

#include <QApplication>
#include <QFile>
#include <QHash>
#include <QWidget>

namespace platform {
namespace {

QStringList parseWarnings;
QtMessageHandler previousHandler = nullptr;

void collectParseWarnings(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (text.startsWith(QLatin1String("Could not parse")))
        parseWarnings << text;
    else if (previousHandler)
        previousHandler(type, context, text);
}

// True when Qt can parse the style sheet: it names no parse error while a
// throwaway widget takes it on.
bool parses(const QString& sheet)
{
    parseWarnings.clear();
    previousHandler = qInstallMessageHandler(collectParseWarnings);
    {
        QWidget probe;
        probe.setStyleSheet(sheet);
        probe.ensurePolished();
    }
    qInstallMessageHandler(previousHandler);
    return parseWarnings.isEmpty();
}

QString readSkin(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure{75, QStringLiteral("Skin file cannot be read: ") + file.errorString()};
    const QString sheet = QString::fromUtf8(file.readAll());
    if (!parses(sheet))
        throw Failure{5, QStringLiteral("Skin file is not a valid style sheet: ") + path};
    return sheet;
}

QWidget* windowOf(qint32 handle)
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->testAttribute(Qt::WA_WState_Created) && windowHandle(*window) == handle)
            return window;
    throw Failure::invalidCall();
}

class StyleSheetSkin final : public SkinFramework {
public:
    QVariant call(int member, const QVariantList& arguments) override
    {
        if (member == kLoadSkin && !arguments.isEmpty())
            sheet_ = readSkin(arguments.at(0).toString());
        else if (member == kApplyWindow && !arguments.isEmpty())
            apply(windowOf(arguments.at(0).toInt()));
        else
            throw Failure::invalidCall();
        return {};
    }

    QVariant property(int id) override { return properties_.value(id, 0); }
    void setProperty(int id, const QVariant& value) override { properties_.insert(id, value); }

private:
    bool flag(int id) const { return properties_.value(id).toBool(); }

    void apply(QWidget* window)
    {
        if (!flag(kEnabled))
            return;
        if (properties_.value(kOptions).toInt() & kSkinControls)
            window->setStyleSheet(sheet_);
        if (flag(kDialogs))
            qApp->setStyleSheet(sheet_);
    }

    QString sheet_;
    QHash<int, QVariant> properties_;
};

} // namespace

template <> SkinFramework& real<SkinFramework>() { return made<StyleSheetSkin>(); }

qint32 windowHandle(const QWidget& window) { return static_cast<qint32>(window.winId()); }

} // namespace platform
