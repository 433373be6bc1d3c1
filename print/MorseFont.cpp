#include "print/MorseFont.h"

#include <QStringList>

QFont MorseFont(int pixelHeight) {
    QFont font(QStringLiteral("Courier"));
    font.setFamilies({QStringLiteral("Courier"), QStringLiteral("Liberation Mono"),
                      QStringLiteral("Courier New")});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setWeight(QFont::Black);
    font.setPixelSize(pixelHeight);
    return font;
}
