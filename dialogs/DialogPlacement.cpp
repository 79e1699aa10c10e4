// SPDX-License-Identifier: MIT
#include "DialogPlacement.h"

#include <algorithm>
#include <array>

namespace {
constexpr int Gap = 8;

QRect InsideScreen(QRect rect, const QRect& screen) {
    rect.moveLeft(std::clamp(rect.left(), screen.left(),
                             std::max(screen.left(), screen.right() - rect.width() + 1)));
    rect.moveTop(std::clamp(rect.top(), screen.top(),
                            std::max(screen.top(), screen.bottom() - rect.height() + 1)));
    return rect;
}

long long Area(const QRect& rect) {
    return rect.isEmpty() ? 0 : static_cast<long long>(rect.width()) * rect.height();
}
} // namespace

QPoint PlaceBeside(QSize size, const QRect& keepClear, const QRect& screen) {
    const std::array<QPoint, 4> places{
        QPoint(keepClear.right() + 1 + Gap, keepClear.top()),
        QPoint(keepClear.left(), keepClear.bottom() + 1 + Gap),
        QPoint(keepClear.left() - Gap - size.width(), keepClear.top()),
        QPoint(keepClear.left(), keepClear.top() - Gap - size.height())};
    for (const QPoint& place : places)
        if (screen.contains(QRect(place, size)))
            return place;
    QRect best;
    for (const QPoint& place : places) {
        const QRect moved = InsideScreen(QRect(place, size), screen);
        if (best.isNull() || Area(moved & keepClear) < Area(best & keepClear))
            best = moved;
    }
    return best.topLeft();
}
