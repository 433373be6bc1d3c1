#include "ui/CPercentSliderAccessible.h"

#include <QSlider>
#include <cmath>

CPercentSliderAccessible::CPercentSliderAccessible(QSlider* slider)
    : QAccessibleWidget(slider, QAccessible::Slider) {}

QSlider* CPercentSliderAccessible::Slider() const {
    return static_cast<QSlider*>(widget());
}

int CPercentSliderAccessible::Percent(int value) const {
    const int span = Slider()->maximum() - Slider()->minimum();
    if (span <= 0) {
        return 0;
    }
    return static_cast<int>(std::lround(100.0 * (value - Slider()->minimum()) / span));
}

void* CPercentSliderAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::ValueInterface) {
        return static_cast<QAccessibleValueInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(type);
}

QString CPercentSliderAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Value) {
        return QString::number(Percent(Slider()->value())) + QStringLiteral(" %");
    }
    return QAccessibleWidget::text(t);
}

QVariant CPercentSliderAccessible::currentValue() const {
    return Percent(Slider()->value());
}

void CPercentSliderAccessible::setCurrentValue(const QVariant& value) {
    const int span = Slider()->maximum() - Slider()->minimum();
    Slider()->setValue(Slider()->minimum() +
                       static_cast<int>(std::lround(value.toDouble() * span / 100.0)));
}

QVariant CPercentSliderAccessible::maximumValue() const {
    return 100;
}

QVariant CPercentSliderAccessible::minimumValue() const {
    return 0;
}

QVariant CPercentSliderAccessible::minimumStepSize() const {
    const int span = Slider()->maximum() - Slider()->minimum();
    return span <= 0 ? 0.0 : 100.0 * Slider()->singleStep() / span;
}
