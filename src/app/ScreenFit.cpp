#include "app/ScreenFit.h"

#include <QDialog>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace kalvion::app {

bool TScreenFit::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show)
        if (auto *dialog = qobject_cast<QDialog *>(watched); dialog && dialog->isWindow())
            FitOnScreen(*dialog);
    return QObject::eventFilter(watched, event);
}

bool FitOnScreen(QWidget &window)
{
    const QScreen *screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return false;
    const QRect avail = screen->availableGeometry();
    const QRect frame = window.frameGeometry();
    // The window manager's frame, as far as it is known yet.
    const int frameW = std::max(0, frame.width() - window.width());
    const int frameH = std::max(0, frame.height() - window.height());
    const int maxW = std::max(1, avail.width() - frameW), maxH = std::max(1, avail.height() - frameH);
    bool changed = false;
    if (window.width() > maxW || window.height() > maxH) {
        window.resize(std::min(window.width(), maxW), std::min(window.height(), maxH));
        changed = true;
    }
    const QRect now = window.frameGeometry();
    const int x = std::clamp(now.x(), avail.left(), std::max(avail.left(), avail.right() + 1 - now.width()));
    const int y = std::clamp(now.y(), avail.top(), std::max(avail.top(), avail.bottom() + 1 - now.height()));
    if (x != now.x() || y != now.y()) {
        window.move(x, y);
        changed = true;
    }
    return changed;
}

} // namespace kalvion::app
