#pragma once
// picText: the box the font preview is drawn in. It owns the bitmap that
// the preview's device context draws on and shows it as it is: a bitmap of
// device pixels, so the preview is sharp at any scale factor.

#include "DeviceContext.h"

#include <QFrame>

class QProgressBar;
class QPushButton;

class PreviewBox : public QFrame {
    Q_OBJECT
public:
    explicit PreviewBox(QWidget* parent);

    BitmapDC& dc() { return dc_; }
    const BitmapDC& dc() const { return dc_; }

    // Sizes the bitmap to the box in device pixels at the window's current
    // scale; true when it changed (and was cleared).
    bool fitBitmap();
    // Device pixels to a pixel that the bitmap was made for.
    double scale() const { return scale_; }

    // The calculation's progress, shown along the box's bottom edge with a
    // Cancel button beside it, so no other control moves; a negative value
    // hides both, unknownProgress shows that work goes on without saying
    // how far.
    void showProgress(int percent);
    static constexpr int unknownProgress = 1000;

signals:
    // Cancel was pressed.
    void cancelRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    BitmapDC dc_;
    double scale_ = 1.0;
    QProgressBar* progress_;
    QPushButton* cancel_;
};
