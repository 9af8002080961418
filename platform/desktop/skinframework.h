#pragma once
// The skin control: loads a skin file and puts it on a window. It is reached
// as the window's skin control always was, by member and property numbers:
//
//   member 2 (path, ini section)  load the skin file (a Qt style sheet)
//   property 1                    option bits; bit 0: the skin reaches the
//                                 window's controls as well as the window
//   property 5                    message boxes and dialogs wear the skin too
//   property 10                   skinning is on
//   member 3 (window handle)      put the loaded skin on that window
//
// Tests install a recorder in place of the real control.

#include "platform/seam.h"

#include <QVariant>
#include <QVariantList>

class QWidget;

namespace platform {

class SkinFramework {
public:
    // The member and property numbers above, and option bit 0.
    enum : int { kOptions = 1, kLoadSkin = 2, kApplyWindow = 3, kDialogs = 5, kEnabled = 10 };
    enum : int { kSkinControls = 1 };

    virtual ~SkinFramework() = default;
    virtual QVariant call(int member, const QVariantList& arguments) = 0;
    virtual QVariant property(int id) = 0;
    virtual void setProperty(int id, const QVariant& value) = 0;
};

template <> SkinFramework& real<SkinFramework>();

// The handle by which the skin control knows a window: its native id cut to 32 bits.
qint32 windowHandle(const QWidget& window);

} // namespace platform
