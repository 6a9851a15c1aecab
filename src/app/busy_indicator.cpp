#include "app/busy_indicator.h"

#include <QPainter>

namespace quorvel::app {

BusyIndicator::BusyIndicator(QWidget* parent) : QWidget(parent) {
    setFixedSize(sizeHint());
    timer_.setInterval(60);
    connect(&timer_, &QTimer::timeout, this, [this] {
        angle_ = (angle_ + 30) % 360;
        update();
    });
}

void BusyIndicator::start() {
    timer_.start();
}

void BusyIndicator::stop() {
    timer_.stop();
    update();
}

void BusyIndicator::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(4, 4, -4, -4);
    QPen track(palette().color(QPalette::Mid), 3);
    painter.setPen(track);
    painter.drawEllipse(box);
    if (!running()) return;
    QPen arc(palette().color(QPalette::Highlight), 3, Qt::SolidLine, Qt::RoundCap);
    painter.setPen(arc);
    // Qt counts arcs in sixteenths of a degree, anticlockwise.
    painter.drawArc(box, -angle_ * 16, 100 * 16);
}

}  // namespace quorvel::app
