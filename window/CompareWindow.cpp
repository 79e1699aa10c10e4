// SPDX-License-Identifier: MIT
#include "CompareWindow.h"

#include "ChartFrame.h"
#include "ChartReadout.h"
#include "DayChart.h"
#include "DayDifference.h"
#include "DifferenceChart.h"
#include "DirectionTimePlot.h"
#include "PictureBox.h"
#include "PolarPlot.h"
#include "PrintAt.h"
#include "ReferenceDay.h"
#include "ViewState.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QShortcut>
#include <QSlider>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int QuarterSecond = 250;

// A chart of a day that is not there: the frame and, where the date goes,
// why.
void DrawNoDay(DrawingSurface& picture, const ColourTable& colours, const ChartView& view) {
    DrawChartFrame(picture, colours, view);
    PrintAt(picture, 500, 20, QStringLiteral("NO REFERENCE DAY"));
}

QString SignedText(int v) {
    return (v > 0 ? QStringLiteral("+") : QString()) + QString::number(v);
}

} // namespace

CompareWindow::CompareWindow(ViewState& view, ReferenceDay& reference, QWidget* parent)
    : QWidget(parent, Qt::Window), m_view(view), m_reference(reference) {
    setWindowTitle(QStringLiteral("比較"));
    buildControls();
    wireCharts();

    // The window follows the view state and the reference day.
    connect(&m_view, &ViewState::logChanged, this, &CompareWindow::redrawAll);
    connect(&m_view, &ViewState::gridChanged, this, &CompareWindow::redrawAll);
    connect(&m_view, &ViewState::coloursChanged, this, &CompareWindow::redrawCharts);
    // Zoomed as the main chart is: the charts and the profile's time window.
    connect(&m_view, &ViewState::chartViewChanged, this, [this] {
        redrawCharts();
        redrawProfile(true);
    });
    connect(&m_reference, &ReferenceDay::changed, this, &CompareWindow::redrawAll);
    connect(&m_view, &ViewState::gainChanged, this, &CompareWindow::redrawPolar);
    connect(&m_view, &ViewState::slotChanged, this, [this] {
        upperChart->update();
        lowerChart->update();
        redrawPolar();
        redrawProfile(false);
    });
}

CompareWindow::~CompareWindow() = default;

void CompareWindow::buildControls() {
    upperChart = new PictureBox(ChartPictureSize, this);
    lowerChart = new PictureBox(ChartPictureSize, this);
    profilePlot = new PictureBox(ProfilePictureSize, this);
    polarPlot = new PictureBox(PolarPictureSize, this);
    upperChart->setObjectName(QStringLiteral("upperChart"));
    lowerChart->setObjectName(QStringLiteral("lowerChart"));
    profilePlot->setObjectName(QStringLiteral("profilePlot"));
    polarPlot->setObjectName(QStringLiteral("comparePolar"));
    // A picture box has the size of its drawing area and its border, which
    // the layout is to keep.
    for (PictureBox* box : {upperChart, lowerChart, profilePlot, polarPlot})
        box->setFixedSize(box->size());

    auto* side = new QVBoxLayout;
    m_modes = new QButtonGroup(this);
    auto* modeRow = new QHBoxLayout;
    int id = 0;
    for (const QString& text :
         {QStringLiteral("並べる"), QStringLiteral("点滅"), QStringLiteral("差")}) {
        auto* button = new QRadioButton(text, this);
        m_modes->addButton(button, id++);
        modeRow->addWidget(button);
    }
    m_modes->button(0)->setChecked(true);
    connect(m_modes, &QButtonGroup::idClicked, this,
            [this](int mode) { setMode(static_cast<Mode>(mode)); });
    side->addLayout(modeRow);

    // 点滅: B swaps by hand; 自動 swaps every 0.25 to 2 s.
    auto* blinkRow = new QHBoxLayout;
    m_autoBlink = new QCheckBox(QStringLiteral("自動"), this);
    m_blinkInterval = new QSlider(Qt::Horizontal, this);
    m_blinkInterval->setRange(1, 8);
    m_blinkInterval->setValue(2);
    m_blinkInterval->setAccessibleName(QStringLiteral("点滅の間隔"));
    m_blinkText = new QLabel(this);
    blinkRow->addWidget(m_autoBlink);
    blinkRow->addWidget(m_blinkInterval);
    blinkRow->addWidget(m_blinkText);
    side->addLayout(blinkRow);
    m_blinkTimer = new QTimer(this);
    connect(m_blinkTimer, &QTimer::timeout, this, &CompareWindow::toggleBlink);
    connect(m_autoBlink, &QCheckBox::toggled, this, &CompareWindow::setBlinking);
    connect(m_blinkInterval, &QSlider::valueChanged, this,
            [this](int quarters) { setBlinkInterval(quarters * QuarterSecond); });
    setBlinkInterval(2 * QuarterSecond);
    connect(new QShortcut(QKeySequence(Qt::Key_B), this), &QShortcut::activated, this, [this] {
        if (m_mode == Mode::Blink)
            toggleBlink();
    });

    auto* rangeRow = new QHBoxLayout;
    rangeRow->addWidget(new QLabel(QStringLiteral("差の範囲"), this));
    m_range = new QSpinBox(this);
    m_range->setRange(0, 65535);
    m_range->setSpecialValueText(QStringLiteral("自動"));
    connect(m_range, &QSpinBox::valueChanged, this, &CompareWindow::setFixedRange);
    rangeRow->addWidget(m_range);
    side->addLayout(rangeRow);

    auto* sectorRow = new QHBoxLayout;
    sectorRow->addWidget(new QLabel(QStringLiteral("方向"), this));
    m_sectorBox = new QLineEdit(this);
    m_sectorBox->setPlaceholderText(QStringLiteral("200-280"));
    m_sectorBox->setAccessibleName(QStringLiteral("プロファイルの方向"));
    connect(m_sectorBox, &QLineEdit::returnPressed, this, [this] {
        if (!setSector(m_sectorBox->text()))
            QApplication::beep();
    });
    sectorRow->addWidget(m_sectorBox);
    side->addLayout(sectorRow);

    readout = new QLabel(this);
    readout->setObjectName(QStringLiteral("compareReadout"));
    m_status = new QLabel(this);
    m_status->setWordWrap(true);
    side->addWidget(readout);
    side->addWidget(m_status);
    side->addStretch();
    side->addWidget(polarPlot);

    // Two charts and the profile in 800 logical pixels.
    auto* charts = new QVBoxLayout;
    charts->setSpacing(2);
    charts->addWidget(upperChart);
    charts->addWidget(lowerChart);
    charts->addWidget(profilePlot);
    charts->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(charts);
    layout->addLayout(side);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CompareWindow::wireCharts() {
    for (PictureBox* chart : {upperChart, lowerChart}) {
        chart->setPointHandler([this, chart](QPointF p, bool dragging) {
            if (!dragging && !ChartGeometry::CellAt(p))
                return false;
            m_view.setSlot(ChartGeometry::SlotNear(p.x(), m_view.chartView(),
                                                   chart->surface().devicePixelRatio()));
            return true;
        });
        chart->setMouseTracking(true);
        chart->installEventFilter(this);
        chart->setOverlayPainter([this, chart](QPainter& painter) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(0xc0, 0, 0));
            painter.drawPolygon(ChartGeometry::SlotMarker(m_view.slot(), m_view.chartView(),
                                                          chart->surface().devicePixelRatio()));
        });
        chart->setMenuExtender([this, chart](QMenu& menu, std::optional<QPointF> at) {
            menu.addSeparator();
            const auto cell = at ? ChartGeometry::CellAt(*at, m_view.chartView(),
                                                         chart->surface().devicePixelRatio())
                                 : std::nullopt;
            QAction* lock = menu.addAction(QStringLiteral("この方向に固定"));
            lock->setEnabled(bool(cell));
            connect(lock, &QAction::triggered, this, [this, cell] { lockDirection(cell->bin); });
            QAction* unlock = menu.addAction(QStringLiteral("方向の固定を外す"));
            unlock->setEnabled(bool(m_lockedBin));
            connect(unlock, &QAction::triggered, this, [this] { lockDirection(std::nullopt); });
        });
        connect(chart, &PictureBox::devicePixelRatioChanged, this, &CompareWindow::redrawCharts);
    }
    profilePlot->setPointHandler([this](QPointF p, bool) {
        const SlotSpan span = chartSpan();
        const int x = static_cast<int>(p.x()) - ProfileGeometry::PlotLeft;
        if (x < 0 || x >= ProfileGeometry::PlotWidth)
            return false;
        m_view.setSlot(span.first + x * span.count() / ProfileGeometry::PlotWidth);
        return true;
    });
    profilePlot->setMenuExtender([this](QMenu& menu, std::optional<QPointF>) {
        menu.addSeparator();
        QAction* copy = menu.addAction(QStringLiteral("値をコピー"));
        copy->setEnabled(m_view.hasLog());
        connect(copy, &QAction::triggered, this,
                [this] { QGuiApplication::clipboard()->setText(profileValuesText()); });
    });
    connect(profilePlot, &PictureBox::devicePixelRatioChanged, this,
            [this] { redrawProfile(true); });
    connect(polarPlot, &PictureBox::devicePixelRatioChanged, this, &CompareWindow::redrawPolar);
}

SlotSpan CompareWindow::chartSpan() const {
    const ChartView& view = m_view.chartView();
    return {view.firstSlot, view.lastSlot};
}

void CompareWindow::setMode(Mode mode) {
    m_modes->button(static_cast<int>(mode))->setChecked(true);
    if (mode == m_mode)
        return;
    m_mode = mode;
    m_showingReference = false;
    upperChart->showInstead(nullptr);
    lowerChart->setVisible(mode == Mode::SideBySide);
    setBlinking(mode == Mode::Blink && m_autoBlink->isChecked());
    redrawCharts();
}

void CompareWindow::toggleBlink() {
    // Both pictures are drawn: the swap only chooses which one is painted,
    // and only where they differ: the cells and the date. Frame, axes and
    // legend are the same in both.
    m_showingReference = !m_showingReference;
    upperChart->showInstead(m_showingReference ? m_referenceChart.get() : nullptr);
    using namespace ChartGeometry;
    const QPoint inside = upperChart->contentsRect().topLeft();
    upperChart->update(
        QRect(PlotLeft, PlotTop, ObservationGrid::Slots, ObservationGrid::Bins).translated(inside));
    upperChart->update(QRect(500, 15, ChartPictureSize.width() - 500, 25).translated(inside));
}

void CompareWindow::setBlinkInterval(int milliseconds) {
    const int quarters = std::clamp(milliseconds / QuarterSecond, 1, 8);
    m_blinkInterval->setValue(quarters);
    m_blinkTimer->setInterval(quarters * QuarterSecond);
    m_blinkText->setText(QString::number(quarters * 0.25, 'g', 3) + QStringLiteral(" 秒"));
}

void CompareWindow::setBlinking(bool on) {
    m_autoBlink->setChecked(on);
    if (on && m_mode == Mode::Blink)
        m_blinkTimer->start();
    else
        m_blinkTimer->stop();
}

void CompareWindow::lockDirection(std::optional<int> bin) {
    m_lockedBin = bin;
    redrawProfile(false);
}

void CompareWindow::pointAt(int bin) {
    if (bin == m_pointedBin)
        return;
    m_pointedBin = bin;
    if (!m_lockedBin && !m_sector)
        redrawProfile(false);
}

bool CompareWindow::setSector(const QString& text) {
    if (text.trimmed().isEmpty()) {
        m_sector.reset();
    } else {
        const std::optional<DirectionSector> sector = ParseDirectionSector(text.toStdString());
        if (!sector)
            return false;
        m_sector = sector;
    }
    m_sectorBox->setText(text.trimmed());
    redrawProfile(false);
    return true;
}

DirectionSector CompareWindow::profileSector() const {
    if (m_sector)
        return *m_sector;
    const int bin = m_lockedBin.value_or(m_pointedBin);
    return {bin, bin};
}

void CompareWindow::setFixedRange(int range) {
    m_range->setValue(range);
    if (range == m_fixedRange)
        return;
    m_fixedRange = range;
    if (m_mode == Mode::Difference)
        redrawCharts();
}

int CompareWindow::differenceRange() const {
    return m_fixedRange > 0 ? m_fixedRange : m_reference.differenceRange();
}

QString CompareWindow::readoutText(int slot, int bin) const {
    const long cell = long{slot} * ObservationGrid::Bins + bin;
    const bool shownCovered = m_view.hasLog() && cell < m_view.coveredCells();
    const bool referenceCovered = m_reference.shown() && cell < m_reference.coveredCells();
    const int shown = m_view.grid()(slot, bin);
    const int reference = m_reference.grid()(slot, bin);
    const QString none = CellValueText(0, false);
    return CellReadoutText({slot, bin}, CellValueText(shown, shownCovered)) +
           QStringLiteral(" / 基準 ") + CellValueText(reference, referenceCovered) +
           QStringLiteral(" / 差 ") +
           (shownCovered && referenceCovered ? SignedText(shown - reference) : none);
}

QString CompareWindow::profileValuesText() const {
    const ProfileCurves curves = profileCurves();
    const SlotSpan span = chartSpan();
    return QString::fromStdString(
        ProfileTable(curves.shown, curves.reference, curves.shownLabel.toStdString(),
                     curves.referenceLabel.toStdString(), span.first, span.last));
}

bool CompareWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        auto* chart = static_cast<PictureBox*>(watched);
        const QPointF at =
            static_cast<QMouseEvent*>(event)->position() - QPointF(chart->contentsRect().topLeft());
        if (const auto cell = ChartGeometry::CellAt(at, m_view.chartView(),
                                                    chart->surface().devicePixelRatio())) {
            readout->setText(readoutText(cell->slot, cell->bin));
            pointAt(cell->bin);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CompareWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_reference.setActive(true); // reads the reference and redraws all
    setBlinking(m_autoBlink->isChecked());
}

void CompareWindow::hideEvent(QHideEvent* event) {
    // Nothing to blink for while closed; 自動 stays as it was.
    m_blinkTimer->stop();
    m_reference.setActive(false);
    QWidget::hideEvent(event);
}

void CompareWindow::redrawAll() {
    if (!isVisible())
        return;
    redrawCharts();
    redrawPolar();
    redrawProfile(true);
    using Status = ReferenceDay::Status;
    switch (m_reference.status()) {
    case Status::None:
        m_status->setText(QStringLiteral("基準日がありません"));
        break;
    case Status::Shown:
        m_status->setText(QStringLiteral("基準 ") + DateLabelText(m_reference.path()));
        break;
    case Status::Missing:
        m_status->setText(QStringLiteral("基準日の記録がありません"));
        break;
    case Status::Unreadable:
        m_status->setText(QStringLiteral("基準日を読み込めません: ") + m_reference.reason());
        break;
    }
}

void CompareWindow::redrawCharts() {
    if (!isVisible())
        return;
    const ColourTable& colours = m_view.colourTable();
    const ChartView& view = m_view.chartView();
    const auto drawDay = [&](DrawingSurface& picture, bool reference) {
        if (!reference && m_view.hasLog())
            DrawChart(picture, m_view.grid(), m_view.path(), colours, view);
        else if (reference && m_reference.shown())
            DrawChart(picture, m_reference.grid(), m_reference.path(), colours, view);
        else if (reference)
            DrawNoDay(picture, colours, view);
        else
            DrawChartFrame(picture, colours, view);
    };
    DrawingSurface& upper = upperChart->surface();
    switch (m_mode) {
    case Mode::SideBySide:
        drawDay(upper, false);
        drawDay(lowerChart->surface(), true);
        lowerChart->update();
        break;
    case Mode::Blink: {
        drawDay(upper, false);
        const qreal ratio = upperChart->surface().devicePixelRatio();
        if (!m_referenceChart)
            m_referenceChart = std::make_unique<ImageSurface>(ChartPictureSize, ratio);
        m_referenceChart->setDevicePixelRatio(ratio);
        drawDay(*m_referenceChart, true);
        break;
    }
    case Mode::Difference:
        if (m_view.hasLog() && m_reference.shown())
            DrawDifferenceChart(
                upper, {&m_view.grid(), m_view.coveredCells(), m_view.path()},
                {&m_reference.grid(), m_reference.coveredCells(), m_reference.path()},
                DifferenceColours(differenceRange()), view);
        else
            DrawNoDay(upper, colours, view);
        break;
    }
    upperChart->update();
}

void CompareWindow::redrawPolar() {
    if (!isVisible())
        return;
    DrawingSurface& polar = polarPlot->surface();
    polar.Cls();
    if (m_reference.shown())
        DrawPolarComparison(polar, m_view.grid(), m_reference.grid(), m_view.slot(),
                            RadiansPerDegree(), m_view.polarGain(), ReferenceCurveColour);
    else
        DrawPolarPlot(polar, m_view.grid(), m_view.slot(), RadiansPerDegree(), m_view.polarGain());
    polarPlot->update();
}

ProfileCurves CompareWindow::profileCurves() const {
    ProfileCurves curves;
    const DirectionSector sector = profileSector();
    if (m_view.hasLog())
        curves.shown = ProfileThroughDay(m_view.grid(), m_view.coveredCells(), sector);
    curves.hasReference = m_reference.shown();
    if (curves.hasReference)
        curves.reference =
            ProfileThroughDay(m_reference.grid(), m_reference.coveredCells(), sector);
    curves.shownLabel = DateLabelText(m_view.path());
    curves.referenceLabel =
        curves.hasReference ? DateLabelText(m_reference.path()) : QStringLiteral("NO REFERENCE");
    const auto degrees = [](int bin) {
        return QString::number(bin * ObservationGrid::DegreesPerBin);
    };
    curves.caption = (sector.first == sector.last
                          ? degrees(sector.first)
                          : degrees(sector.first) + QLatin1Char('-') + degrees(sector.last)) +
                     QStringLiteral(" DEG");
    return curves;
}

void CompareWindow::redrawProfile(bool frameToo) {
    if (!isVisible())
        return;
    DrawingSurface& picture = profilePlot->surface();
    DrawnProfile now{profileCurves(), m_view.slot(), chartSpan()};
    if (frameToo || !m_drawnProfile) {
        DrawProfilePlot(picture, now.curves, now.slot, now.span);
    } else {
        DrawProfileCurves(picture, now.curves, now.slot, now.span, &*m_drawnProfile);
    }
    m_drawnProfile = std::move(now);
    profilePlot->update();
}
