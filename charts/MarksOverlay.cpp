// SPDX-License-Identifier: MIT
#include "MarksOverlay.h"

#include "ChartFrame.h"
#include "DrawingSurface.h"
#include "ImageSurface.h"
#include "KeptTable.h"

#include <QFontMetrics>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <string_view>

namespace {

using namespace ChartGeometry;

constexpr QRgb OutlineLight = 0xffffffff;
constexpr QRgb OutlineDark = 0xff000000;

const QRect PlotBox(QPoint(PlotLeft, PlotTop), QPoint(PlotRight, PlotBottom));

// One box's outline; `openTop` and `openBottom` leave out the edge where a
// sector across 0 degrees goes on at the plot's other end.
void DrawOutline(DrawingSurface& picture, const QRect& box, bool openTop, bool openBottom) {
    // The dark line just outside, the light one on the edge cells.
    picture.TwoToneOutline(box, PlotBox, openTop, openBottom, OutlineLight, OutlineDark);
}

// A label as printed, with its width: made once per thread and kept, since
// the chart is redrawn with every slot or colour change while its marks stay.
struct LabelText {
    std::string label;
    QString text;
    int width = 0;
};

const LabelText& Label(std::string_view label) {
    // The surface's one font: one set of metrics per thread (render threads
    // draw charts side by side), not one per label.
    thread_local const QFontMetrics metrics(ImageSurface::printFont());
    thread_local KeptTable<LabelText, 4096> labels;
    const std::uint64_t hash = ShortTextHash(label.data(), label.size());
    if (const LabelText* found =
            labels.find(hash, [&](const LabelText& kept) { return kept.label == label; }))
        return *found;
    QString text = QString::fromUtf8(label);
    const int width = metrics.horizontalAdvance(text);
    return labels.add(hash, LabelText{std::string(label), std::move(text), width});
}

// Places the label in the first spot that lies in the plot and clears the
// labels placed before: inside the box below its top edge, then right of the
// box, each going down the box's height a line at a time.
void DrawLabel(DrawingSurface& picture, QRect box, std::string_view text,
               std::vector<QRect>& placed) {
    if (text.empty())
        return;
    thread_local const int lineHeight = QFontMetrics(ImageSurface::printFont()).height();
    const LabelText& label = Label(text);
    const QSize size(label.width + 3, lineHeight + 1);
    const QRect inside = box.adjusted(2, 2, -2, -2);
    // Beside a box lower than a line, the label may reach below it.
    const QRect beside(QPoint(box.right() + 3, box.top()),
                       QPoint(PlotRight, std::max(box.bottom(), box.top() + size.height() - 1)));
    // QRect::contains, inline: a thousand labels try a few places each.
    const auto within = [](const QRect& outer, const QRect& inner) {
        return outer.left() <= inner.left() && inner.right() <= outer.right() &&
               outer.top() <= inner.top() && inner.bottom() <= outer.bottom();
    };
    for (const QRect& area : {inside, beside}) {
        for (QRect place(area.topLeft(), size); within(area, place) && within(PlotBox, place);
             place.translate(0, size.height())) {
            // QRect::intersects for rectangles of positive size, inline: a
            // thousand labels try a few places each against all placed before.
            const auto overlaps = [&](const QRect& other) {
                return other.left() <= place.right() && place.left() <= other.right() &&
                       other.top() <= place.bottom() && place.top() <= other.bottom();
            };
            if (std::any_of(placed.begin(), placed.end(), overlaps))
                continue;
            picture.PrintOnBox(float(place.left()), float(place.top()), float(place.right()),
                               float(place.bottom()), OutlineLight, float(place.left() + 2),
                               float(place.top()), label.text);
            placed.push_back(place);
            return;
        }
    }
}

// The boxes of MarkBoxes, without a list of their own: the chart draws every
// mark with every redraw.
struct PlotBoxes {
    std::array<QRect, 2> boxes;
    int count = 1;
};

PlotBoxes MarkPlotBoxes(const Mark& mark) {
    const int left = SlotColumn(mark.firstSlot), right = SlotColumn(mark.lastSlot);
    const auto box = [&](int firstBin, int lastBin) {
        return QRect(QPoint(left, BinRow(lastBin)), QPoint(right, BinRow(firstBin)));
    };
    if (mark.firstBin <= mark.lastBin)
        return {{box(mark.firstBin, mark.lastBin), QRect()}, 1};
    // Across 0 degrees: from the first bin up to the top of the plot, and
    // from its bottom up to the last bin.
    return {{box(mark.firstBin, ObservationGrid::Bins - 1), box(0, mark.lastBin)}, 2};
}

// A mark's part in a zoomed view, in device pixels (both corners included),
// with the edges that are the mark's own (not cut by the view or by 0
// degrees) and thus drawn.
struct DeviceBox {
    QRect pixels;
    bool left = true, right = true, top = true, bottom = true;
};

// The runs of the view's bins that a mark holds: one, or two where the
// mark's sector and the view's overlap at both ends.
std::vector<DeviceBox> DeviceBoxes(const Mark& mark, const ChartView& view,
                                   const DevicePlot& plot) {
    const int first = std::max(mark.firstSlot, view.firstSlot);
    const int last = std::min(mark.lastSlot, view.lastSlot);
    if (first > last)
        return {};
    const int n = view.slotCount(), m = view.binCount();
    const int left = plot.left + ColumnOfSlotOffset(first - view.firstSlot, n, plot.width);
    const int right = plot.left + ColumnOfSlotOffset(last - view.firstSlot + 1, n, plot.width) - 1;
    std::vector<DeviceBox> boxes;
    for (int k = 0; k < m;) {
        const auto binAt = [&](int offset) {
            return (view.firstBin + offset) % ObservationGrid::Bins;
        };
        if (!mark.holdsBin(binAt(k))) {
            ++k;
            continue;
        }
        int top = k;
        while (top + 1 < m && mark.holdsBin(binAt(top + 1)))
            ++top;
        DeviceBox box;
        box.pixels = QRect(QPoint(left, plot.bottom - RowOfBinOffset(top + 1, m, plot.height) + 1),
                           QPoint(right, plot.bottom - RowOfBinOffset(k, m, plot.height)));
        box.left = first == mark.firstSlot;
        box.right = last == mark.lastSlot;
        box.bottom = binAt(k) == mark.firstBin;
        box.top = binAt(top) == mark.lastBin;
        boxes.push_back(box);
        k = top + 1;
    }
    return boxes;
}

// Fills a strip of device pixels with lines of the surface's width: the strip
// is cut to the plot, then made at least a line wide (inside the plot), so
// that no line reaches past the plot.
void FillStrip(std::vector<SurfaceLine>& lines, QRect strip, const QRect& plot, int pen,
               qreal ratio, QRgb colour) {
    strip &= plot;
    if (strip.isEmpty())
        return;
    if (strip.width() < pen)
        strip.setLeft(std::max(plot.left(), strip.right() - pen + 1));
    if (strip.width() < pen)
        strip.setRight(strip.left() + pen - 1);
    if (strip.height() < pen)
        strip.setTop(std::max(plot.top(), strip.bottom() - pen + 1));
    if (strip.height() < pen)
        strip.setBottom(strip.top() + pen - 1);
    const auto at = [ratio](int device) { return float(device / ratio); };
    // A line's pen covers `pen` pixels right of and below each point it
    // passes: the last line of a strip starts a pen short of its end.
    for (int y = strip.top();; y = std::min(y + pen, strip.bottom() - pen + 1)) {
        lines.push_back({at(strip.left()), at(y), at(strip.right() - pen + 1), at(y), colour});
        if (y >= strip.bottom() - pen + 1)
            break;
    }
}

// Draws the outline's lines in one call; `lines` is room for them, reused
// from box to box.
void DrawDeviceOutline(DrawingSurface& picture, const DeviceBox& box, const QRect& plot, int pen,
                       qreal ratio, std::vector<SurfaceLine>& lines) {
    const QRect& b = box.pixels;
    lines.clear();
    // The dark lines just outside the drawn edges, then the light ones on
    // the edge cells' outermost pixels.
    const auto edges = [&](const QRect& r, QRgb colour) {
        const auto strip = [&](QPoint from, QPoint to) {
            FillStrip(lines, QRect(from, to), plot, pen, ratio, colour);
        };
        if (box.left)
            strip(r.topLeft(), {r.left() + pen - 1, r.bottom()});
        if (box.right)
            strip({r.right() - pen + 1, r.top()}, r.bottomRight());
        if (box.top)
            strip(r.topLeft(), {r.right(), r.top() + pen - 1});
        if (box.bottom)
            strip({r.left(), r.bottom() - pen + 1}, r.bottomRight());
    };
    const QRect outer = b.adjusted(box.left ? -pen : 0, box.top ? -pen : 0, box.right ? pen : 0,
                                   box.bottom ? pen : 0);
    edges(outer, OutlineDark);
    edges(b, OutlineLight);
    picture.Lines(lines);
}

// The chart's pixels inside a box of device pixels.
QRect LogicalInside(const QRect& device, qreal ratio) {
    const int left = int(std::ceil(device.left() / ratio));
    const int top = int(std::ceil(device.top() / ratio));
    const int right = int(std::floor((device.right() + 1) / ratio)) - 1;
    const int bottom = int(std::floor((device.bottom() + 1) / ratio)) - 1;
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

} // namespace

void DrawMarks(DrawingSurface& picture, const std::vector<Mark>& marks, const ChartView& view) {
    if (view.whole()) {
        DrawMarks(picture, marks);
        return;
    }
    const float x = picture.CurrentX(), y = picture.CurrentY();
    const qreal ratio = picture.deviceRatio();
    const DevicePlot plot = PlotInDevice(ratio);
    const QRect plotPixels(plot.left, plot.bottom - plot.height + 1, plot.width, plot.height);
    const int pen = ImageSurface::penWidth(ratio);
    std::vector<std::vector<DeviceBox>> shown;
    shown.reserve(marks.size());
    std::vector<SurfaceLine> lines;
    for (const Mark& mark : marks) {
        shown.push_back(DeviceBoxes(mark, view, plot));
        for (const DeviceBox& box : shown.back())
            DrawDeviceOutline(picture, box, plotPixels, pen, ratio, lines);
    }
    std::vector<QRect> labels;
    for (std::size_t i = 0; i < marks.size(); ++i) {
        const std::vector<DeviceBox>& boxes = shown[i];
        if (boxes.empty())
            continue;
        const auto tallest = std::max_element(boxes.begin(), boxes.end(),
                                              [](const DeviceBox& a, const DeviceBox& b) {
                                                  return a.pixels.height() < b.pixels.height();
                                              });
        DrawLabel(picture, LogicalInside(tallest->pixels, ratio), marks[i].label(), labels);
    }
    picture.SetCurrentX(x);
    picture.SetCurrentY(y);
}

std::vector<QRect> MarkBoxes(const Mark& mark) {
    const PlotBoxes boxes = MarkPlotBoxes(mark);
    return {boxes.boxes.begin(), boxes.boxes.begin() + boxes.count};
}

void DrawMarks(DrawingSurface& picture, const std::vector<Mark>& marks) {
    const float x = picture.CurrentX(), y = picture.CurrentY();
    // Each mark's box for its label, kept from its outline.
    std::vector<QRect> labelBoxes;
    labelBoxes.reserve(marks.size());
    for (const Mark& mark : marks) {
        const PlotBoxes boxes = MarkPlotBoxes(mark);
        const bool across = boxes.count == 2;
        for (int i = 0; i < boxes.count; ++i)
            DrawOutline(picture, boxes.boxes[std::size_t(i)], across && i == 0, across && i == 1);
        // The label goes with the taller part of a sector across 0 degrees.
        const QRect& first = boxes.boxes[0];
        const QRect& last = boxes.boxes[std::size_t(boxes.count - 1)];
        labelBoxes.push_back(last.height() > first.height() ? last : first);
    }
    // Over every outline, so that no line runs through a label.
    std::vector<QRect> labels;
    labels.reserve(marks.size());
    for (std::size_t i = 0; i < marks.size(); ++i)
        DrawLabel(picture, labelBoxes[i], marks[i].label(), labels);
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
