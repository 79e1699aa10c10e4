// SPDX-License-Identifier: MIT
#include "Form1.h"

#include "AppIcon.h"
#include "ChartFrame.h"
#include "DirectionTimePlot.h"
#include "HScrollBar.h"
#include "LoadCommand.h"
#include "PictureBox.h"
#include "PolarPlot.h"
#include "StandardDialogs.h"

#include <QDir>
#include <QFileInfo>

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

} // namespace

Form1::Form1(std::unique_ptr<LoadDialogs> dialogs, QWidget* parent)
    : QWidget(parent), m_dialogs(std::move(dialogs)) {
    if (!m_dialogs)
        m_dialogs = std::make_unique<StandardDialogs>(this);
    // Before the first load a newcomer finds the sample logs at once.
    m_logFolder = QDir(QStringLiteral(DIRCHART_SAMPLE_DIR)).exists()
                      ? QStringLiteral(DIRCHART_SAMPLE_DIR)
                      : QDir::homePath();

    setWindowTitle(QStringLiteral("Form1"));
    setWindowIcon(AppIcon());
    resize(ClientSize);

    // Controls in tab order.
    Picture1 = Place(new PictureBox(QSize(817, 281), this), 0, 0, 817, 281);
    cmd1 = Place(new QPushButton(QStringLiteral("読み込み"), this), 8, 544, 89, 33);
    Picture2 = Place(new PictureBox(QSize(265, 265), this), 112, 368, 265, 265);
    HScroll1 = Place(new HScrollBar(0, 719, 0, this), 8, 296, 761, 17);
    HScroll2 = Place(new HScrollBar(0, 719, 0, this), 8, 320, 761, 17);
    HScroll3 = Place(new HScrollBar(0, 719, 0, this), 8, 344, 761, 17);
    Text1 = Place(new QLineEdit(QStringLiteral("Text1"), this), 432, 400, 249, 25);
    Command1 = Place(new QPushButton(QStringLiteral("Command1"), this), 32, 424, 41, 49);
    Text2 = Place(new QLineEdit(QStringLiteral("Text2"), this), 432, 432, 249, 25);
    Text3 = Place(new QLineEdit(QStringLiteral("1"), this), 464, 504, 41, 25);
    HScroll4 = Place(new HScrollBar(1, 50, 1, this), 432, 536, 233, 17);
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

    connect(cmd1, &QPushButton::clicked, this, &Form1::cmd1_Click);
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(HScroll1, &QScrollBar::valueChanged, this, &Form1::HScroll1_Change);
    connect(HScroll4, &QScrollBar::valueChanged, this, &Form1::HScroll4_Change);
    // HScroll2 and HScroll3 have no handler.
    // On a screen of another ratio the pictures start blank and are drawn anew.
    connect(Picture1, &PictureBox::devicePixelRatioChanged, this, &Form1::RedrawChart);
    connect(Picture2, &PictureBox::devicePixelRatioChanged, this, &Form1::RedrawPolarPlot);

    Form_Load();
}

Form1::~Form1() = default;

void Form1::Form_Load() {
    DrawChartFrame();
    RadPerDeg = static_cast<float>(4 * std::atan(1.0) / 180);
    Text1->setText(QString::number(RadPerDeg, 'g', 7));
    PolarGain = 1;
}

void Form1::Command1_Click() {
    // The single-precision RadPerDeg is widened before the product, so the
    // cosine shows the error of RadPerDeg itself from the ninth digit on.
    Text1->setText(QString::number(std::cos(20.0 * static_cast<double>(RadPerDeg)), 'g', 15));
}

void Form1::cmd1_Click() {
    const LoadOutcome outcome =
        RunLoadCommand(Picture1->surface(), SignalGrid, *m_dialogs, m_logFolder);
    if (outcome.result == LoadOutcome::Loaded) {
        Text1->setText(outcome.path);
        m_logFolder = QFileInfo(outcome.path).absolutePath();
    }
    // Past the prompt the chart is cleared; it shows a log only once loaded.
    if (outcome.result != LoadOutcome::Declined)
        m_chartLog =
            outcome.result == LoadOutcome::Loaded ? std::optional(outcome.path) : std::nullopt;
}

void Form1::HScroll1_Change() {
    Picture2->surface().Cls();
    DrawPolarPlot();
}

void Form1::HScroll4_Change() {
    const int gain = HScroll4->value();
    Text3->setText(QString::number(gain));
    PolarGain = static_cast<float>(gain);
    Picture2->surface().Cls();
    DrawPolarPlot();
}

void Form1::DrawChartFrame() {
    ::DrawChartFrame(Picture1->surface());
}

void Form1::DrawPolarPlot() {
    Text2->setText(
        ::DrawPolarPlot(Picture2->surface(), SignalGrid, HScroll1->value(), RadPerDeg, PolarGain));
    m_polarShown = true;
}

void Form1::RedrawChart() {
    DrawChartFrame();
    if (m_chartLog) {
        PlotSignalGrid(Picture1->surface(), SignalGrid);
        PrintDateLabel(Picture1->surface(), *m_chartLog);
    }
}

void Form1::RedrawPolarPlot() {
    if (m_polarShown) {
        Picture2->surface().Cls();
        DrawPolarPlot();
    }
}
