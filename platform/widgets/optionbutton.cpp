#include "platform/widgets/optionbutton.h"

namespace widgets {

OptionButton::OptionButton(const QString& caption, QWidget* parent)
    : QRadioButton(caption, parent)
{
}

bool OptionButton::hitButton(const QPoint& pos) const { return rect().contains(pos); }

} // namespace widgets
