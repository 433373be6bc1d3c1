#pragma once

#include <QFont>

// The Morse font at a pixel height: Courier, or a font of the same metrics, at the heaviest weight.
QFont MorseFont(int pixelHeight);
