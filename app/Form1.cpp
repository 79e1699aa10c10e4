// SPDX-License-Identifier: MIT
#include "Form1.h"

#include "AppIcon.h"
#include "ChartFrame.h"
#include "ChartReadout.h"
#include "DayLogs.h"
#include "DirectionTimePlot.h"
#include "HScrollBar.h"
#include "LoadCommand.h"
#include "PictureBox.h"
#include "PictureNames.h"
#include "PngFile.h"
#include "PolarPlot.h"
#include "StandardDialogs.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QDir>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>

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

    connect(cmd1, &QPushButton::clicked, this, &Form1::cmd1_Click);
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(HScroll1, &QScrollBar::valueChanged, this, &Form1::HScroll1_Change);
    connect(HScroll4, &QScrollBar::valueChanged, this, &Form1::HScroll4_Change);
    // HScroll2 and HScroll3 have no handler.
    WirePictures();
    DescribeControls();
    const QList<QWidget*> pictureMenuKeys{this,     cmd1,     Command1, HScroll1,
                                          HScroll2, HScroll3, HScroll4};
    for (QWidget* control : pictureMenuKeys)
        control->installEventFilter(this);

    // Window-wide keys, whichever control has the focus.
    const auto shortcut = [this](QKeySequence keys, auto handler) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, handler);
    };
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_O), &Form1::cmd1_Click);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), &QWidget::close);
    shortcut(QKeySequence(Qt::ALT | Qt::Key_Left), [this] { StepDay(-1); });
    shortcut(QKeySequence(Qt::ALT | Qt::Key_Right), [this] { StepDay(+1); });

    // A log dropped anywhere on the window is loaded; the text boxes would
    // otherwise take a dropped file's path as text.
    setAcceptDrops(true);
    for (QLineEdit* text : {Text1, Text2, Text3})
        text->setAcceptDrops(false);
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

    // On a screen of another ratio the pictures start blank and are drawn anew.
    connect(Picture1, &PictureBox::devicePixelRatioChanged, this, &Form1::RedrawChart);
    connect(Picture2, &PictureBox::devicePixelRatioChanged, this, &Form1::RedrawPolarPlot);

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
    ForgetShownLog();
    Text1->setText(path);
    m_logFolder = QFileInfo(path).absolutePath();
    m_shownLog = path;
    m_watcher.addPath(path);
    m_watcher.addPath(m_logFolder);
    if (m_polarDrawn)
        HScroll1_Change();
    DescribePictures();
}

void Form1::ForgetShownLog() {
    m_shownLog.clear();
    m_followDelay.stop();
    if (!m_watcher.files().isEmpty())
        m_watcher.removePaths(m_watcher.files());
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    DescribePictures();
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
    // file: the watcher has dropped the old one, or, while someone still
    // holds the old one open, goes on watching it. So the path is watched
    // anew each time.
    m_watcher.removePath(m_shownLog);
    if (QFileInfo::exists(m_shownLog))
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
    Picture1->update(); // the slot marker
    DescribePictures();
}

void Form1::RedrawChart() {
    if (m_shownLog.isEmpty())
        DrawChartFrame();
    else
        DrawChart(Picture1->surface(), SignalGrid, m_shownLog);
}

void Form1::RedrawPolarPlot() {
    if (m_polarDrawn)
        HScroll1_Change();
}

void Form1::WirePictures() {
    Picture1->setTipProvider([this](QPointF p) -> std::optional<PictureTip> {
        if (const auto cell = ChartGeometry::CellAt(p)) {
            // Before a log is shown the chart holds no values to read.
            const auto value = m_shownLog.isEmpty()
                                   ? std::nullopt
                                   : std::optional<int>(SignalGrid(cell->slot, cell->bin));
            return PictureTip{CellReadoutText(*cell, value), ChartGeometry::CellRect(*cell)};
        }
        if (const auto value = ChartGeometry::LegendValueAt(p))
            return PictureTip{LegendReadoutText(*value), ChartGeometry::LegendRowRect(*value)};
        return std::nullopt;
    });
    Picture2->setTipProvider([this](QPointF p) -> std::optional<PictureTip> {
        const auto bin = PolarGeometry::BinAt(p);
        if (!m_polarDrawn || !bin)
            return std::nullopt;
        return PictureTip{PolarReadoutText(*bin, SignalGrid(HScroll1->value(), *bin)),
                          QRect(p.toPoint(), QSize(1, 1))};
    });

    // A click in the plot area picks its slot, and a drag moves on; the
    // slider's own change handler redraws the polar plot.
    Picture1->setPointHandler([this](QPointF p, bool dragging) {
        if (!dragging && !ChartGeometry::CellAt(p))
            return false;
        HScroll1->setValue(ChartGeometry::SlotNear(p.x()));
        return true;
    });
    Picture1->setOverlayPainter([this](QPainter& painter) {
        if (!m_polarDrawn)
            return;
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0xc0, 0, 0));
        painter.drawPolygon(ChartGeometry::SlotMarker(HScroll1->value()));
    });

    Picture1->setSaveHandler([this] { SavePicture(*Picture1, ChartImageName(m_shownLog)); });
    Picture2->setSaveHandler([this] {
        SavePicture(*Picture2, PolarImageName(m_shownLog, HScroll1->value(), HScroll4->value()));
    });
}

void Form1::SavePicture(const PictureBox& picture, const QString& suggestedName) {
    // The picture as it is now, even if a followed log replots it meanwhile.
    const QImage image = picture.surface().image();
    const QString folder =
        m_shownLog.isEmpty() ? QDir::homePath() : QFileInfo(m_shownLog).absolutePath();
    const std::optional<QString> path = m_dialogs->ShowSave(
        {{QStringLiteral("PNG 画像 (*.png)")}, QStringLiteral("png"), suggestedName, folder});
    if (!path)
        return;
    const QString reason = WriteImageFile(image, *path);
    if (!reason.isEmpty())
        m_dialogs->Warn(DialogTitle, UnsavedMessage(*path, reason));
}

// The context-menu key reaches the control with the focus. On the buttons
// and sliders, and on the window itself, it opens the pictures' menu; the
// text boxes keep their own editing menu.
bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ContextMenu &&
        static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
        ShowPictureMenuFromKeyboard();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// The menu of the picture under the mouse, or, with the mouse elsewhere,
// both pictures' menus one level down.
void Form1::ShowPictureMenuFromKeyboard() {
    for (PictureBox* picture : {Picture1, Picture2}) {
        if (picture->underMouse()) {
            picture->showPictureMenu(QCursor::pos());
            return;
        }
    }
    QMenu menu(this);
    for (PictureBox* picture : {Picture1, Picture2})
        picture->addPictureActions(menu.addMenu(picture->accessibleName()));
    const QWidget* anchor = focusWidget() ? focusWidget() : this;
    menu.exec(anchor->mapToGlobal(anchor->rect().center()));
}

void Form1::DescribeControls() {
    const std::pair<QWidget*, const char*> names[]{
        {Picture1, "方向時刻信号チャート"},
        {cmd1, "読み込み"},
        {Picture2, "極座標プロット"},
        {HScroll1, "時刻"},
        {HScroll2, "スライダー 2（未使用）"},
        {HScroll3, "スライダー 3（未使用）"},
        {Text1, "観測ログのパス"},
        {Command1, "cos 20° の計算"},
        {Text2, "時刻表示"},
        {Text3, "倍率の値"},
        {HScroll4, "倍率"},
        {Label1, "倍率"},
    };
    for (const auto& [control, name] : names)
        control->setAccessibleName(QString::fromUtf8(name));
    DescribePictures();
}

void Form1::DescribePictures() {
    if (m_shownLog.isEmpty()) {
        Picture1->setAccessibleDescription(QStringLiteral("観測ログは表示されていません"));
    } else {
        const QString date = DateLabelText(m_shownLog);
        Picture1->setAccessibleDescription(
            (date.isEmpty() ? QFileInfo(m_shownLog).fileName() : date) +
            QStringLiteral(" の観測ログ"));
    }
    Picture2->setAccessibleDescription(m_polarDrawn ? SlotTimeText(HScroll1->value()) +
                                                          QStringLiteral(" 倍率 ") +
                                                          QString::number(HScroll4->value())
                                                    : QStringLiteral("まだ描かれていません"));
}
