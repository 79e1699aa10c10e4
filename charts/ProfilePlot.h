// SPDX-License-Identifier: MIT
#pragma once

#include "DayProfile.h"

#include <QRgb>
#include <QSize>
#include <QString>

class DrawingSurface;

// The profile's picture: as wide as the chart, its plot box under the
// chart's plot box, so that at the whole-day view slot t is column 30 + t in
// both and the slot markers line up.
inline constexpr QSize ProfilePictureSize{813, 200};
namespace ProfileGeometry {
inline constexpr int PlotLeft = 30;
inline constexpr int PlotWidth = ObservationGrid::Slots;
inline constexpr int PlotRight = PlotLeft + PlotWidth - 1;
inline constexpr int PlotTop = 30;
inline constexpr int PlotBottom = 169;
} // namespace ProfileGeometry

// The curves' colours: the shown day in the polar plot's red, the reference
// in the diverging map's dark blue.
inline constexpr QRgb ShownCurveColour = 0xffff0000;
inline constexpr QRgb ReferenceCurveColour = 0xff2166ac;

// The slots a picture spans, both included.
struct SlotSpan {
    int first = 0;
    int last = ObservationGrid::LastSlot;
    int count() const { return last - first + 1; }
};

struct ProfileCurves {
    DayProfile shown{};
    DayProfile reference{};
    bool hasReference = false;
    QString shownLabel;     // the shown day's date
    QString referenceLabel; // the reference's date, or why there is none
    QString caption;        // what the profile runs through: "240" or "200-280"
};

// The value range the plot spans: from min(0, lowest) to the highest value
// over both curves in the span, rounded up to a whole 10 (100 above 100,
// 1000 above 9999), at least 10.
std::pair<int, int> ProfileValueRange(const ProfileCurves& curves, SlotSpan span);

// A value of the range as labelled left of the plot, in at most four
// digits' width so as to keep clear of the ticks: "1100", "-700", and in
// thousands beyond that, "-1.2k", "33k".
QString ProfileValueLabel(int v);

// The x of slot t's column in the span: the plot's width shared out evenly.
int ProfileColumn(int t, SlotSpan span);

// Draws the profile plot: a box with time ticks along it and the value
// range at its left, the reference curve and then the shown day's over it
// (a gap where a day has no value), a grey line at the slot, and a legend
// of the two colours above. It is the frame, which depends only on the days
// and the span, and then the curves.
void DrawProfilePlot(DrawingSurface& picture, const ProfileCurves& curves, int slot,
                     SlotSpan span = {});
void DrawProfileFrame(DrawingSurface& picture, const ProfileCurves& curves, SlotSpan span = {});
// What a profile plot shows now, so that the next curves can leave alone
// what stays the same.
struct DrawnProfile {
    ProfileCurves curves;
    int slot = 0;
    SlotSpan span;
};
// Over a frame of the same days and span: the curves, the value range, the
// caption and the slot. Whatever was drawn there before is cleared; with
// `before`, what DrawProfileCurves drew last, the caption and the value
// labels are drawn again only where they change. A new direction or slot
// needs no more.
void DrawProfileCurves(DrawingSurface& picture, const ProfileCurves& curves, int slot,
                       SlotSpan span = {}, const DrawnProfile* before = nullptr);
