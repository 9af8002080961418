#pragma once
// An option button whose whole rectangle answers a click, not only its circle
// and caption: a click anywhere in the width the layout gives it selects it.

#include <QRadioButton>

namespace widgets {

class OptionButton : public QRadioButton {
    Q_OBJECT
public:
    explicit OptionButton(const QString& caption, QWidget* parent = nullptr);

protected:
    bool hitButton(const QPoint& pos) const override;
};

} // namespace widgets
