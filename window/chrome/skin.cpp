#include "window/chrome/skin.h"

#include "core/failure.h"
#include "platform/system/programfolder.h"
#include "platform/desktop/skinframework.h"
#include "files/paths.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

namespace chrome {
namespace {

// The button face behind the control's text, and the button text on it, so
// the text stays legible whatever the desktop's colours are.
void giveButtonFace(QWidget& widget)
{
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, QApplication::palette().color(QPalette::Button));
    palette.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::ButtonText));
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

bool takesButtonFace(const QWidget& control)
{
    return qobject_cast<const QRadioButton*>(&control) ||
           qobject_cast<const QCheckBox*>(&control) || qobject_cast<const QGroupBox*>(&control) ||
           qobject_cast<const QLabel*>(&control);
}

// The window's controls in creation order: its own children and those of
// its frames.
void colourControls(QWidget& container)
{
    for (QObject* child : container.children()) {
        auto* control = qobject_cast<QWidget*>(child);
        if (!control || control->isWindow())
            continue;
        if (takesButtonFace(*control))
            giveButtonFace(*control);
        if (qobject_cast<QGroupBox*>(control))
            colourControls(*control);
    }
}

qint32 int32Of(const QVariant& value)
{
    bool ok = false;
    const qint32 number = value.toInt(&ok);
    if (!ok)
        throw core::Failure::typeMismatch();
    return number;
}

// True when the folder's listing holds a file of that name.
bool listed(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

} // namespace

QString SkinPath()
{
    return files::JoinedPath(platform::programFolder(), QStringLiteral("x/o.cjs"));
}

QString HandCursorPath()
{
    return files::JoinedPath(platform::programFolder(), QStringLiteral("HAND-M.CUR"));
}

void ApplySkin(QWidget& window)
{
    const QString path = SkinPath();
    if (!listed(path))
        return;
    giveButtonFace(window);
    colourControls(window);
    using Skin = platform::SkinFramework;
    auto& skin = platform::get<Skin>();
    skin.call(Skin::kLoadSkin, {path, QString()});
    skin.setProperty(Skin::kOptions, int32Of(skin.property(Skin::kOptions)) | Skin::kSkinControls);
    skin.setProperty(Skin::kDialogs, true);
    skin.setProperty(Skin::kEnabled, true);
    skin.call(Skin::kApplyWindow, {platform::windowHandle(window)});
}

} // namespace chrome
