#pragma once

#include <QTimer>
#include <QWidget>

namespace quorvel::app {

// A small turning arc that shows that a transfer is under way.
class BusyIndicator : public QWidget {
    Q_OBJECT
public:
    explicit BusyIndicator(QWidget* parent = nullptr);

    void start();
    void stop();
    bool running() const { return timer_.isActive(); }
    QSize sizeHint() const override { return {32, 32}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QTimer timer_;
    int angle_ = 0;
};

}  // namespace quorvel::app
