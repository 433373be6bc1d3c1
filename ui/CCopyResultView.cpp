#include "ui/CCopyResultView.h"

#include <QPainter>

CCopyResultView::CCopyResultView(QWidget* parent) : QWidget(parent) {
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void CCopyResultView::SetResult(std::unique_ptr<CCopyCheckPainter> result) {
    picture = std::move(result);
    if (picture) {
        picture->FitTo(rect());
    }
    updateGeometry();
    update();
}

int CCopyResultView::heightForWidth(int width) const {
    return picture ? picture->HeightFor(width) : 0;
}

QSize CCopyResultView::sizeHint() const {
    return {900, heightForWidth(900)};
}

void CCopyResultView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (picture) {
        picture->FitTo(rect());
    }
}

void CCopyResultView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // The window's paper and ink: a high-contrast palette shows the check in its colours.
    painter.fillRect(rect(), palette().color(QPalette::Base));
    if (picture) {
        picture->SetColours(palette().color(QPalette::Base), palette().color(QPalette::Text));
        picture->Paint(painter, rect(), false);
    }
}
