#pragma once
// Every dialog fits on the screen it opens on: one filter on the
// application shrinks a window that would be larger than the screen's free
// area and moves it inside, as it is shown.
#include <QObject>

class QWidget;

namespace kalvion::app {

class TScreenFit final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

// Shrinks the window (as far as its minimum size allows) to the free area
// of its screen and moves it inside; true when it had to.
bool FitOnScreen(QWidget &window);

} // namespace kalvion::app
