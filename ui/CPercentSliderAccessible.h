#pragma once

#include <QAccessibleWidget>

class QSlider;

// What a screen reader gets from a slider: its value in per cent of its range (the volume's 57344
// of 65535 is said as 88), set in per cent too. User-interface thread only.
class CPercentSliderAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit CPercentSliderAccessible(QSlider* slider);

    void* interface_cast(QAccessible::InterfaceType type) override;
    QString text(QAccessible::Text t) const override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

private:
    QSlider* Slider() const;
    int Percent(int value) const;
};
