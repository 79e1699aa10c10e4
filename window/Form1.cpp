// SPDX-License-Identifier: MIT
#include "Form1.h"

#include "AppIcon.h"
#include "ChartFrame.h"
#include "ChartZoom.h"
#include "CompareCommands.h"
#include "ControlNames.h"
#include "DayChart.h"
#include "DirectionTimePlot.h"
#include "FileSaver.h"
#include "HScrollBar.h"
#include "LogFollower.h"
#include "LogLoader.h"
#include "MarkCommands.h"
#include "PathText.h"
#include "PictureActions.h"
#include "PictureBox.h"
#include "PlayControls.h"
#include "PolarPlot.h"
#include "StandardDialogs.h"
#include "TypedEntry.h"
#include "ViewCommands.h"
#include "WindowActions.h"

#include <QAction>
#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <cmath>

namespace {

// Places a control at its design position in the client area.
template <typename Control> Control* Place(Control* control, int x, int y, int width, int height) {
    control->setGeometry(x, y, width, height);
    return control;
}
// A picture box keeps the size its drawing area gives it.
PictureBox* Place(PictureBox* picture, int x, int y) {
    picture->move(x, y);
    return picture;
}

constexpr int LastSlot = ObservationGrid::LastSlot;

} // namespace

Form1::Form1(std::unique_ptr<LoadDialogs> dialogs, QWidget* parent)
    : QWidget(parent), m_dialogs(std::move(dialogs)) {
    if (!m_dialogs)
        m_dialogs = std::make_unique<StandardDialogs>(this);

    setWindowTitle(QStringLiteral("Form1"));
    setWindowIcon(AppIcon());
    resize(ClientSize);

    // Controls in tab order.
    Picture1 = Place(new PictureBox(ChartPictureSize, this), 0, 0);
    cmd1 = Place(new QPushButton(QStringLiteral("読み込み"), this), 8, 544, 89, 33);
    Picture2 = Place(new PictureBox(PolarPictureSize, this), 112, 368);
    HScroll1 = Place(new HScrollBar(0, LastSlot, 0, this), 8, 296, 761, 17);
    HScroll2 = Place(new HScrollBar(0, LastSlot, 0, this), 8, 320, 761, 17);
    HScroll3 = Place(new HScrollBar(0, LastSlot, 0, this), 8, 344, 761, 17);
    Text1 = Place(new QLineEdit(QStringLiteral("Text1"), this), 432, 400, 249, 25);
    Command1 = Place(new QPushButton(QStringLiteral("Command1"), this), 32, 424, 41, 49);
    Text2 = Place(new QLineEdit(QStringLiteral("Text2"), this), 432, 432, 249, 25);
    Text3 = Place(new QLineEdit(QStringLiteral("1"), this), 464, 504, 41, 25);
    HScroll4 = Place(new HScrollBar(MinPolarGain, MaxPolarGain, 1, this), 432, 536, 233, 17);
    Label1 = Place(new QLabel(QStringLiteral("倍率"), this), 424, 504, 41, 17);

    // The label's design font is a Windows Japanese gothic; where it is not
    // installed the free IPA P Gothic, of the same proportional design, stands in.
    QFont labelFont;
    labelFont.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                           QStringLiteral("IPAPGothic")});
    labelFont.setPointSizeF(11.25);
    Label1->setFont(labelFont);

    // The picture boxes show charts and take no keys, so Tab passes them by;
    // the controls that take focus follow one another in design order.
    const QList<QWidget*> tabOrder{cmd1,     HScroll1, HScroll2, HScroll3, Text1,
                                   Command1, Text2,    Text3,    HScroll4};
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    m_actions = new WindowActions(this);
    m_loader = new LogLoader(m_view, *m_dialogs, this);
    m_follower = new LogFollower(m_view, this);
    m_saver = std::make_unique<FileSaver>(*m_dialogs, [this] { return m_view.path(); });
    m_pictures = new PictureActions(m_view, *m_actions, *Picture1, *Picture2, *m_saver, this);
    m_commands = new ViewCommands(m_view, *m_actions, *m_loader, *m_dialogs, *m_saver, *Picture1,
                                  this);
    m_marks = new MarkCommands(m_view, *m_actions, *m_loader, *m_dialogs, *m_pictures, *Picture1,
                               this);
    connect(m_marks, &MarkCommands::chartChanged, this, &Form1::redrawChart);
    connect(m_commands, &ViewCommands::eventMarkRequested, m_marks, &MarkCommands::markEvent);
    connect(m_marks, &MarkCommands::dayMarksChanged, m_commands, &ViewCommands::dayMarksChanged);

    // Controls set the view state; pictures and texts follow it.
    connect(cmd1, &QPushButton::clicked, this, &Form1::cmd1_Click);
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(HScroll1, &QScrollBar::valueChanged, this, &Form1::HScroll1_Change);
    connect(HScroll4, &QScrollBar::valueChanged, this, &Form1::HScroll4_Change);
    // HScroll2 and HScroll3 have no handler.
    connect(&m_view, &ViewState::slotChanged, HScroll1, &QScrollBar::setValue);
    connect(&m_view, &ViewState::gainChanged, HScroll4, &QScrollBar::setValue);
    connect(&m_view, &ViewState::slotChanged, this, &Form1::redrawPolarPlot);
    connect(&m_view, &ViewState::gainChanged, this, [this](int gain) {
        m_gainEntry->show(QString::number(gain));
        redrawPolarPlot();
    });
    connect(&m_view, &ViewState::logChanged, this, &Form1::showLog);
    connect(&m_view, &ViewState::coloursChanged, this, &Form1::redrawChart);
    connect(&m_view, &ViewState::chartViewChanged, this, &Form1::redrawChart);
    connect(&m_view, &ViewState::gridChanged, this, [this] {
        // Over the chart as it is: frame and date label stay.
        PlotSignalGrid(Picture1->surface(), SignalGrid, m_view.colourTable(), m_view.chartView());
        m_marks->draw(Picture1->surface());
        redrawPolarPlot();
    });
    connect(m_follower, &LogFollower::missingChanged, this, &Form1::showLogMissing);
    // On a screen of another ratio the pictures start blank and are drawn anew.
    connect(Picture1, &PictureBox::devicePixelRatioChanged, this, &Form1::redrawChart);
    connect(Picture2, &PictureBox::devicePixelRatioChanged, this, &Form1::redrawPolarPlot);
    wireKeys();
    wirePlayback();
    NameControls(*this);

    Form_Load();
}

Form1::~Form1() {
    // Before the view state, which the other windows refer to.
    delete m_commands;
}

void Form1::wireKeys() {
    // The context-menu key opens the pictures' menu from the buttons, the
    // sliders and the window itself; the text boxes keep their editing menu.
    m_pictures->takeMenuKey({this, cmd1, Command1, HScroll1, HScroll2, HScroll3, HScroll4});

    connect(m_actions->load, &QAction::triggered, this, &Form1::cmd1_Click);
    connect(m_actions->quit, &QAction::triggered, this, &QWidget::close);
    connect(m_actions->previousDay, &QAction::triggered, this, [this] { m_loader->stepDay(-1); });
    connect(m_actions->nextDay, &QAction::triggered, this, [this] { m_loader->stepDay(+1); });

    // A log dropped anywhere on the window is loaded; the text boxes would
    // otherwise take a dropped file's path as text.
    m_loader->takeDrops(this);
    for (QLineEdit* text : {Text1, Text2, Text3})
        text->setAcceptDrops(false);
}

void Form1::wirePlayback() {
    // A click on a picture gives it the focus; Tab still passes it by.
    Picture1->setFocusPolicy(Qt::ClickFocus);
    Picture2->setFocusPolicy(Qt::ClickFocus);
    auto* play = new PlayControls(m_view, *m_actions, this,
                                  {Picture1, Picture2, HScroll1, HScroll2, HScroll3, HScroll4});
    m_pictures->setPlayback(play->playback());
    m_zoom = new ChartZoom(m_view, *m_actions, *Picture1, this);
    m_zoom->setPlayback(play->playback());
    commands().compare().setChartZoom(*m_zoom);
    m_marks->showMarkBox = [this](const ChartView& box) { m_zoom->go(box); };
    m_timeEntry = new TypedEntry(Text2, [this](const QString& typed) {
        return TakeTypedTime(typed, m_view, [this](const ChartView& range) { m_zoom->go(range); });
    });
    m_gainEntry = new TypedEntry(
        Text3, [this](const QString& typed) { return TakeTypedGain(typed, m_view); });
}

void Form1::Form_Load() {
    DrawChartFrame();
    RadPerDeg = RadiansPerDegree();
    Text1->setText(QString::number(RadPerDeg, 'g', 7));
}

void Form1::Command1_Click() {
    // The single-precision RadPerDeg is widened before the product, so the
    // cosine shows the error of RadPerDeg itself from the ninth digit on.
    Text1->setText(QString::number(std::cos(20.0 * static_cast<double>(RadPerDeg)), 'g', 15));
}

void Form1::cmd1_Click() {
    m_loader->runLoadCommand();
}

void Form1::loadLog(const QString& path) {
    m_loader->loadLog(path);
}

void Form1::HScroll1_Change() {
    m_view.setSlot(HScroll1->value());
}

void Form1::HScroll4_Change() {
    m_view.setGain(HScroll4->value());
}

void Form1::DrawChartFrame() {
    ::DrawChartFrame(Picture1->surface(), m_view.colourTable(), m_view.chartView());
}

void Form1::DrawPolarPlot() {
    // While the time is being typed, the box keeps what is typed.
    m_timeEntry->show(
        ::DrawPolarPlot(Picture2->surface(), SignalGrid, m_view.slot(), RadPerDeg, PolarGain));
}

void Form1::showLog() {
    redrawChart();
    if (!m_view.hasLog())
        return;
    Text1->setText(PathForDisplay(m_view.path()));
    // The polar plot shows the new data rather than the previous log's.
    redrawPolarPlot();
}

void Form1::redrawChart() {
    if (m_view.hasLog()) {
        DrawChart(Picture1->surface(), SignalGrid, m_view.path(), m_view.colourTable(),
                  m_view.chartView());
        m_marks->draw(Picture1->surface());
    } else
        DrawChartFrame();
}

void Form1::redrawPolarPlot() {
    if (!m_view.polarShown())
        return;
    Picture2->surface().Cls();
    DrawPolarPlot();
}

// A followed log that has vanished keeps its chart, but its path says so.
void Form1::showLogMissing(bool missing) {
    QPalette palette = QApplication::palette(Text1);
    if (missing)
        palette.setColor(QPalette::Text, palette.color(QPalette::Disabled, QPalette::Text));
    Text1->setPalette(palette);
    Text1->setToolTip(missing ? QStringLiteral("ファイルがありません") : QString());
}
