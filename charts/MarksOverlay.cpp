// SPDX-License-Identifier: MIT
#include "MarksOverlay.h"

#include "ChartFrame.h"
#include "DrawingSurface.h"
#include "ImageSurface.h"

#include <QFontMetrics>

#include <algorithm>

namespace {

using namespace ChartGeometry;

constexpr QRgb OutlineLight = 0xffffffff;
constexpr QRgb OutlineDark = 0xff000000;

const QRect PlotBox(QPoint(PlotLeft, PlotTop), QPoint(PlotRight, PlotBottom));

void FillBox(DrawingSurface& picture, const QRect& box, QRgb colour) {
    for (int y = box.top(); y <= box.bottom(); ++y)
        picture.Line({float(box.left()), float(y)}, {float(box.right()), float(y)}, colour);
}

void HorizontalLine(DrawingSurface& picture, int x1, int x2, int y, QRgb colour) {
    if (y >= PlotTop && y <= PlotBottom)
        picture.Line({float(std::max(x1, PlotLeft)), float(y)},
                     {float(std::min(x2, PlotRight)), float(y)}, colour);
}

void VerticalLine(DrawingSurface& picture, int x, int y1, int y2, QRgb colour) {
    if (x >= PlotLeft && x <= PlotRight)
        picture.Line({float(x), float(std::max(y1, PlotTop))},
                     {float(x), float(std::min(y2, PlotBottom))}, colour);
}

// One box's outline; `openTop` and `openBottom` leave out the edge where a
// sector across 0 degrees goes on at the plot's other end.
void DrawOutline(DrawingSurface& picture, const QRect& box, bool openTop, bool openBottom) {
    const int l = box.left(), r = box.right(), t = box.top(), b = box.bottom();
    // The dark line first, just outside, then the light one on the edge cells.
    VerticalLine(picture, l - 1, t - 1, b + 1, OutlineDark);
    VerticalLine(picture, r + 1, t - 1, b + 1, OutlineDark);
    if (!openTop)
        HorizontalLine(picture, l - 1, r + 1, t - 1, OutlineDark);
    if (!openBottom)
        HorizontalLine(picture, l - 1, r + 1, b + 1, OutlineDark);
    VerticalLine(picture, l, t, b, OutlineLight);
    VerticalLine(picture, r, t, b, OutlineLight);
    if (!openTop)
        HorizontalLine(picture, l, r, t, OutlineLight);
    if (!openBottom)
        HorizontalLine(picture, l, r, b, OutlineLight);
}

// Places the label in the first spot that lies in the plot and clears the
// labels placed before: inside the box below its top edge, then right of the
// box, each going down the box's height a line at a time.
void DrawLabel(DrawingSurface& picture, const QRect& box, const QString& label,
               std::vector<QRect>& placed) {
    if (label.isEmpty())
        return;
    // The surface's one font: measured with one set of metrics per thread
    // (render threads draw charts side by side), not one per label.
    thread_local const QFontMetrics metrics(ImageSurface::printFont());
    const QSize size(metrics.horizontalAdvance(label) + 3, metrics.height() + 1);
    const QRect inside = box.adjusted(2, 2, -2, -2);
    // Beside a box lower than a line, the label may reach below it.
    const QRect beside(QPoint(box.right() + 3, box.top()),
                       QPoint(PlotRight, std::max(box.bottom(), box.top() + size.height() - 1)));
    for (const QRect& area : {inside, beside}) {
        for (QRect place(area.topLeft(), size); area.contains(place) && PlotBox.contains(place);
             place.translate(0, size.height())) {
            if (std::any_of(placed.begin(), placed.end(),
                            [&](const QRect& other) { return other.intersects(place); }))
                continue;
            FillBox(picture, place, OutlineLight);
            picture.SetCurrentX(float(place.left() + 2));
            picture.SetCurrentY(float(place.top()));
            picture.Print(label);
            placed.push_back(place);
            return;
        }
    }
}

} // namespace

std::vector<QRect> MarkBoxes(const Mark& mark) {
    const int left = SlotColumn(mark.firstSlot), right = SlotColumn(mark.lastSlot);
    const auto box = [&](int firstBin, int lastBin) {
        return QRect(QPoint(left, BinRow(lastBin)), QPoint(right, BinRow(firstBin)));
    };
    if (mark.firstBin <= mark.lastBin)
        return {box(mark.firstBin, mark.lastBin)};
    // Across 0 degrees: from the first bin up to the top of the plot, and
    // from its bottom up to the last bin.
    return {box(mark.firstBin, ObservationGrid::Bins - 1), box(0, mark.lastBin)};
}

void DrawMarks(DrawingSurface& picture, const std::vector<Mark>& marks) {
    const float x = picture.CurrentX(), y = picture.CurrentY();
    for (const Mark& mark : marks) {
        const std::vector<QRect> boxes = MarkBoxes(mark);
        const bool across = boxes.size() == 2;
        for (std::size_t i = 0; i < boxes.size(); ++i)
            DrawOutline(picture, boxes[i], across && i == 0, across && i == 1);
    }
    // Over every outline, so that no line runs through a label.
    std::vector<QRect> labels;
    for (const Mark& mark : marks) {
        const std::vector<QRect> boxes = MarkBoxes(mark);
        // The label goes with the taller part of a sector across 0 degrees.
        const QRect& labelled =
            boxes.back().height() > boxes.front().height() ? boxes.back() : boxes.front();
        DrawLabel(picture, labelled, QString::fromStdString(mark.label), labels);
    }
    picture.SetCurrentX(x);
    picture.SetCurrentY(y);
}

int MarkAt(const std::vector<Mark>& marks, int t, int d) {
    int found = -1;
    long fewest = 0;
    for (std::size_t i = 0; i < marks.size(); ++i) {
        const Mark& mark = marks[i];
        if (!mark.holds(t, d))
            continue;
        const long cells = long(mark.lastSlot - mark.firstSlot + 1) * mark.binCount();
        if (found < 0 || cells <= fewest) {
            found = int(i);
            fewest = cells;
        }
    }
    return found;
}
