#include "platform/desktop/skinframework.h"

#include "core/failure.h"
#include "files/regularfile.h"

#include <QApplication>
#include <QHash>
#include <QWidget>

namespace platform {
namespace {

QtMessageHandler previousHandler = nullptr;

// Qt's complaint about a sheet it cannot parse: the report says it instead.
void dropParseWarnings(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (!text.startsWith(QLatin1String("Could not parse")) && previousHandler)
        previousHandler(type, context, text);
}

// True when Qt parses the style sheet as a whole, as the application's sheet
// is parsed. A widget's sheet that fails is tried again wrapped in "* { }",
// which takes any junk for declarations; so a throwaway widget takes the
// sheet with one more rule that names it, and that rule only takes effect
// when the sheet itself was read.
bool parses(const QString& sheet)
{
    const QString mark = QStringLiteral("skin-parsed");
    previousHandler = qInstallMessageHandler(dropParseWarnings);
    QWidget probe;
    probe.setStyleSheet(sheet + QLatin1String("\n* { qproperty-objectName: \"") + mark +
                        QLatin1String("\"; }"));
    probe.ensurePolished();
    qInstallMessageHandler(previousHandler);
    return probe.objectName() == mark;
}

QString readSkin(const QString& path)
{
    QString reason;
    const std::optional<QByteArray> bytes = files::readRegularFile(path, reason);
    if (!bytes)
        throw core::Failure{75, QStringLiteral("Skin file cannot be read: ") + reason};
    const QString sheet = QString::fromUtf8(*bytes);
    if (!parses(sheet))
        throw core::Failure{5, QStringLiteral("Skin file is not a valid style sheet: ") + path};
    return sheet;
}

QWidget* windowOf(qint32 handle)
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->testAttribute(Qt::WA_WState_Created) && windowHandle(*window) == handle)
            return window;
    throw core::Failure::invalidCall();
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
            throw core::Failure::invalidCall();
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
