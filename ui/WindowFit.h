#pragma once

#include <QSize>

class QWidget;

// Resizes a top-level window to `wanted`, but never beyond the available area of the screen it is
// on (less room for the window frame), so that a dialog laid out for a large screen still fits on
// a 1024x768 one, where its layout then squeezes or scrolls. User-interface thread.
void ResizeWithinScreen(QWidget& window, QSize wanted);
