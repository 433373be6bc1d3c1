#pragma once

#include <QWidget>
#include <memory>

#include "print/CCopyCheckPainter.h"

// Shows a checked copy (see CCopyCheckPainter) on the palette's base colour, as wide as it is given
// and as high as that width needs. User-interface thread only.
class CCopyResultView : public QWidget {
    Q_OBJECT

public:
    explicit CCopyResultView(QWidget* parent = nullptr);

    void SetResult(std::unique_ptr<CCopyCheckPainter> result);
    // The picture as last drawn: where each cell lies in this widget.
    const CCopyCheckPainter* Result() const { return picture.get(); }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    std::unique_ptr<CCopyCheckPainter> picture;
};
