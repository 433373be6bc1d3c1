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
    // A shown window grows from where it stands: it moves up and left as far as it must to stay
    // on the screen whole.
    if (window.isVisible()) {
        const QRect frame = window.frameGeometry();
        const int left = std::max(available.left(),
                                  std::min(frame.left(), available.right() + 1 - frame.width()));
        const int top = std::max(available.top(),
                                 std::min(frame.top(), available.bottom() + 1 - frame.height()));
        window.move(window.pos() + QPoint(left - frame.left(), top - frame.top()));
    }
}
