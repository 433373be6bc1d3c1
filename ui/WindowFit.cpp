#include "ui/WindowFit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace {

// Room left around a window for its frame and title bar.
constexpr int kFrameWidth = 16;
constexpr int kFrameHeight = 48;

}  // namespace

void ResizeWithinScreen(QWidget& window, QSize wanted) {
    const QScreen* screen =
        window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        window.resize(wanted);
        return;
    }
    const QRect available = screen->availableGeometry();
    window.resize(std::min(wanted.width(), available.width() - kFrameWidth),
                  std::min(wanted.height(), available.height() - kFrameHeight));
}
