// SPDX-License-Identifier: MIT
#include "Form1.h"

#include "AppIcon.h"
#include "ChartFrame.h"
#include "DayLogs.h"
#include "HScrollBar.h"
#include "LoadCommand.h"
#include "PictureBox.h"
#include "PolarPlot.h"
#include "StandardDialogs.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QShortcut>

#include <cmath>

namespace {

// Places a control at its design position in the client area.
template <typename Control> Control* Place(Control* control, int x, int y, int width, int height) {
    control->setGeometry(x, y, width, height);
    return control;
}

// The one local file a drag carries that is worth loading; empty for several
// files, a folder or anything that is not a local file.
QString DroppedLog(const QMimeData* mime) {
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1)
        return {};
    const QUrl url = mime->urls().constFirst();
    if (!url.isLocalFile())
        return {};
    const QFileInfo info(url.toLocalFile());
    return info.exists() && !info.isDir() ? info.absoluteFilePath() : QString();
}

// Changes to a followed log are gathered for this long, so that a writer
// appending in small pieces causes a few replots a second, not one a write.
constexpr int FollowDelayMs = 250;

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

    // Window-wide keys, whichever control has the focus.
    const auto shortcut = [this](QKeySequence keys, auto handler) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, handler);
    };
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_O), &Form1::cmd1_Click);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), &QWidget::close);
    shortcut(QKeySequence(Qt::ALT | Qt::Key_Left), [this] { StepDay(-1); });
    shortcut(QKeySequence(Qt::ALT | Qt::Key_Right), [this] { StepDay(+1); });

    setAcceptDrops(true);
    m_followDelay.setSingleShot(true);
    m_followDelay.setInterval(FollowDelayMs);
    connect(&m_followDelay, &QTimer::timeout, this, &Form1::FollowShownLog);
    // A running delay is not restarted: a steady writer still gets a replot
    // every FollowDelayMs.
    const auto changed = [this] {
        if (!m_followDelay.isActive())
            m_followDelay.start();
    };
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, changed);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, changed);

    Form_Load();
}

Form1::~Form1() = default;

void Form1::Form_Load() {
    DrawChartFrame();
    RadPerDeg = RadiansPerDegree();
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
    if (outcome.result == LoadOutcome::Loaded)
        ShowLoadedLog(outcome.path);
    else if (outcome.result != LoadOutcome::Declined)
        ForgetShownLog(); // the chart is cleared to its frame
}

void Form1::LoadLog(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (LoadLogFile(Picture1->surface(), SignalGrid, *m_dialogs, absolute).result ==
        LoadOutcome::Loaded)
        ShowLoadedLog(absolute);
}

// What every successful load does besides the chart: the path, the Open
// dialog's folder, following the file, and a polar plot that shows the new
// data rather than the previous log's.
void Form1::ShowLoadedLog(const QString& path) {
    Text1->setText(path);
    m_logFolder = QFileInfo(path).absolutePath();
    ForgetShownLog();
    m_shownLog = path;
    m_watcher.addPath(path);
    m_watcher.addPath(m_logFolder);
    if (m_polarDrawn)
        HScroll1_Change();
}

void Form1::ForgetShownLog() {
    m_shownLog.clear();
    m_followDelay.stop();
    if (!m_watcher.files().isEmpty())
        m_watcher.removePaths(m_watcher.files());
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
}

void Form1::StepDay(int step) {
    if (m_shownLog.isEmpty())
        return;
    const auto next = NeighbourDayLog(QFile::encodeName(m_shownLog).toStdString(), step);
    if (!next) {
        QApplication::beep();
        return;
    }
    LoadLog(QFile::decodeName(next->c_str()));
}

void Form1::FollowShownLog() {
    if (m_shownLog.isEmpty())
        return;
    // A file replaced by a rename, or deleted and written again, is a new
    // file to the watcher, which has dropped the old one.
    if (!m_watcher.files().contains(m_shownLog) && QFileInfo::exists(m_shownLog))
        m_watcher.addPath(m_shownLog);
    if (ReplotLogFile(Picture1->surface(), SignalGrid, m_shownLog) && m_polarDrawn)
        HScroll1_Change();
}

void Form1::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedLog(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void Form1::dragMoveEvent(QDragMoveEvent* event) {
    if (!DroppedLog(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void Form1::dropEvent(QDropEvent* event) {
    const QString path = DroppedLog(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    LoadLog(path);
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
    m_polarDrawn = true;
    Text2->setText(
        ::DrawPolarPlot(Picture2->surface(), SignalGrid, HScroll1->value(), RadPerDeg, PolarGain));
}
