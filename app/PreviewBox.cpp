#include "PreviewBox.h"

#include <QImage>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>
#include <cmath>

PreviewBox::PreviewBox(QWidget* parent)
    : QFrame(parent), dc_(1, 1), progress_(new QProgressBar(this)), cancel_(new QPushButton(tr("Cancel"), this))
{
    setObjectName(QStringLiteral("picText"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setFocusPolicy(Qt::NoFocus);
    // The box paints all of itself, so redrawing it never asks the window
    // behind it to paint again.
    setAttribute(Qt::WA_OpaquePaintEvent);
    progress_->setRange(0, 100);
    progress_->setTextVisible(true);
    progress_->hide();
    cancel_->setObjectName(QStringLiteral("cmdCancel"));
    cancel_->setToolTip(tr("Stop the calculation (Esc)"));
    cancel_->setAutoDefault(false);
    cancel_->hide();
    connect(cancel_, &QPushButton::clicked, this, &PreviewBox::cancelRequested);
}

void PreviewBox::showProgress(int percent)
{
    if (percent < 0) {
        progress_->hide();
        cancel_->hide();
        return;
    }
    if (percent == unknownProgress) {
        progress_->setRange(0, 0);
    } else {
        progress_->setRange(0, 100);
        progress_->setValue(percent);
    }
    progress_->show();
    cancel_->show();
}

bool PreviewBox::fitBitmap()
{
    const QRect area = contentsRect();
    const double ratio = devicePixelRatioF() > 0 ? devicePixelRatioF() : 1.0;
    // Whole device pixels covering the area; the painter clips the rest.
    const int width = static_cast<int>(std::ceil(area.width() * ratio));
    const int height = static_cast<int>(std::ceil(area.height() * ratio));
    if (ratio == scale_ && width == dc_.image().width() && height == dc_.image().height())
        return false;
    scale_ = ratio;
    dc_.resize(width, height);
    return true;
}

void PreviewBox::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);  // the frame
    const Bitmap& bitmap = dc_.image();
    QImage image(reinterpret_cast<const uchar*>(bitmap.pixels()), bitmap.width(), bitmap.height(),
                 bitmap.width() * 4, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale_);
    QPainter painter(this);
    painter.setClipRect(contentsRect());
    painter.drawImage(contentsRect().topLeft(), image);
}

void PreviewBox::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    fitBitmap();
    // The bar along the foot, Cancel at its right end, both the button's height.
    const QRect area = contentsRect();
    const QSize button = cancel_->sizeHint();
    const int height = std::max(progress_->sizeHint().height(), button.height());
    const int top = area.bottom() - height - 3;
    cancel_->setGeometry(area.right() - 4 - button.width(), top, button.width(), height);
    progress_->setGeometry(area.left() + 4, top, std::max(0, cancel_->x() - 6 - area.left() - 4), height);
}
