// SPDX-License-Identifier: MIT
// The colour dialog, and the settings kept in the user's configuration folder.
#include "WindowFixture.h"
#include "AppSettings.h"
#include "DayChart.h"
#include "LogFile.h"
#include "LogLoader.h"
#include "PathText.h"
#include "RememberedSettings.h"
#include "ViewCommands.h"
#include "ColourDialog.h"
#include "DialogPlacement.h"
#include "NumberBox.h"
#include "TestFiles.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDateTime>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <fstream>

namespace {
const ColourSettings Viridis{0, 400, Stretch::Sqrt, ColourMapId::Viridis};
} // namespace

class TestColourSettings : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void init();
    void settingsSurviveARestart();
    void damagedFileGivesDefaults_data();
    void damagedFileGivesDefaults();
    void dialogTabOrder();
    void autoAndStandard();
    void editsAreAnnounced();
    void typedNumbersKeepTheirDigits_data();
    void dialogLeavesTheChartInView_data();
    void dialogLeavesTheChartInView();
    void typedNumbersKeepTheirDigits();
    void coloursPreviewAndAreRemembered();
    void autoTakesTheDayShownWhenPressed();

  private:
    QString settingsFile() const { return m_config.filePath("dirchart/dirchart.conf"); }
    QTemporaryDir m_config;
};

void TestColourSettings::initTestCase() {
    // The user's configuration folder, before anything has looked for it.
    QVERIFY(m_config.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
}

void TestColourSettings::init() {
    QDir(m_config.path()).removeRecursively();
    QVERIFY(QDir().mkpath(m_config.filePath("dirchart")));
}

void TestColourSettings::settingsSurviveARestart() {
    {
        AppSettings first;
        QCOMPARE(first.colourSettings(), ColourSettings{});
        QCOMPARE(first.lastFolder(), QString());
        first.setColourSettings(Viridis);
        first.setLastFolder(QStringLiteral("/srv/ログ"));
    }
    QVERIFY(QFile::exists(settingsFile()));
    AppSettings second;
    QCOMPARE(second.colourSettings(), Viridis);
    QCOMPARE(second.lastFolder(), QStringLiteral("/srv/ログ"));
    second.setColourSettings({});
    QCOMPARE(AppSettings().colourSettings(), ColourSettings{});
}

void TestColourSettings::damagedFileGivesDefaults_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<ColourSettings>("expected");
    using enum Stretch;
    using enum ColourMapId;
    QByteArray noise;
    for (int i = 0; i < 4096; ++i)
        noise.append(char((i * 7919 + 13) % 251));
    // Any colour setting that cannot be told gives the standard colours, all
    // four of them.
    QTest::newRow("noise") << noise << ColourSettings{};
    QTest::newRow("not a number")
        << QByteArray("[colour]\nminimum=abc\nmaximum=400\nstretch=sqrt\nmap=viridis\n")
        << ColourSettings{};
    QTest::newRow("maximum not a number")
        << QByteArray("[colour]\nminimum=-200\nmaximum=abc\nstretch=sqrt\nmap=viridis\n")
        << ColourSettings{};
    QTest::newRow("beyond 16 bits")
        << QByteArray("[colour]\nminimum=-40000\nmaximum=400\nstretch=cubic\nmap=grey\n")
        << ColourSettings{};
    QTest::newRow("minimum not below maximum")
        << QByteArray("[colour]\nminimum=400\nmaximum=400\nstretch=log\nmap=jet\n")
        << ColourSettings{};
    QTest::newRow("minimum above maximum")
        << QByteArray("[colour]\nminimum=500\nmaximum=100\nstretch=sqrt\nmap=viridis\n")
        << ColourSettings{};
    QTest::newRow("unknown map")
        << QByteArray("[colour]\nminimum=0\nmaximum=400\nstretch=sqrt\nmap=plasma\n")
        << ColourSettings{};
    QTest::newRow("valid, with a stray key")
        << QByteArray("[colour]\nminimum=0\nmaximum=400\nstretch=sqrt\nmap=viridis\n"
                      "[other]\nstray=1\n")
        << ::Viridis;
}

void TestColourSettings::damagedFileGivesDefaults() {
    QFETCH(QByteArray, content);
    QFETCH(ColourSettings, expected);
    WriteTestFile(settingsFile(), content);
    // Qt keeps a settings file's text while its size and time stay; the file
    // the row before left may have the same size and the same clock tick, so
    // the written one is given a time of its own.
    QFile written(settingsFile());
    QVERIFY(written.open(QIODevice::ReadWrite));
    QVERIFY(written.setFileTime(QDateTime::currentDateTime().addDays(-1),
                                QFileDevice::FileModificationTime));
    written.close();
    AppSettings damaged;
    QCOMPARE(damaged.colourSettings(), expected);
    // What is changed next is kept, whatever the file held, in a file
    // written anew: nothing of the damage is left.
    const ColourSettings next{-200, 700, Stretch::Log, ColourMapId::Grey};
    damaged.setColourSettings(next);
    QCOMPARE(AppSettings().colourSettings(), next);
    QFile file(settingsFile());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(),
             QByteArray("[colour]\nmap=grey\nmaximum=700\nminimum=-200\nstretch=log\n"));
}

void TestColourSettings::dialogTabOrder() {
    ColourDialog dialog({}, ColourRange{3, 700});
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    dialog.minimumBox->setFocus();
    const QList<QWidget*> expected{dialog.minimumBox,
                                   dialog.maximumBox,
                                   dialog.stretchBox,
                                   dialog.mapBox,
                                   dialog.autoButton,
                                   dialog.resetButton,
                                   dialog.buttons->button(QDialogButtonBox::Ok),
                                   dialog.buttons->button(QDialogButtonBox::Cancel)};
    QList<QWidget*> order{QApplication::focusWidget()};
    for (int i = 1; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order.append(QApplication::focusWidget());
    }
    QCOMPARE(order, expected);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("色の設定"));
}

void TestColourSettings::autoAndStandard() {
    ColourDialog without(Viridis, std::nullopt);
    QVERIFY(!without.autoButton->isEnabled());

    ColourDialog dialog(Viridis, ColourRange{500, 900});
    QVERIFY(dialog.autoButton->isEnabled());
    QSignalSpy announced(&dialog, &ColourDialog::settingsChanged);
    // Both ends move, though 500 lies above the old maximum.
    dialog.autoButton->click();
    const ColourSettings automatic{500, 900, Stretch::Sqrt, ColourMapId::Viridis};
    QCOMPARE(dialog.settings(), automatic);
    dialog.resetButton->click();
    QCOMPARE(dialog.settings(), ColourSettings{});
    QCOMPARE(announced.size(), 2);
    QCOMPARE(announced[0][0].value<ColourSettings>(), automatic);
    QCOMPARE(announced[1][0].value<ColourSettings>(), ColourSettings{});
    dialog.setAutoRange(std::nullopt);
    QVERIFY(!dialog.autoButton->isEnabled());
}

void TestColourSettings::editsAreAnnounced() {
    ColourDialog dialog({}, std::nullopt);
    QSignalSpy announced(&dialog, &ColourDialog::settingsChanged);
    const auto last = [&] { return announced.constLast()[0].value<ColourSettings>(); };
    dialog.maximumBox->setValue(400);
    QCOMPARE(last(), (ColourSettings{0, 400, Stretch::Linear, ColourMapId::Standard}));
    // 最小 stays below 最大.
    // 最小 not below 最大 is kept as typed, not announced, and OK waits,
    // saying why, until the range is valid again.
    QPushButton* ok = dialog.buttons->button(QDialogButtonBox::Ok);
    dialog.minimumBox->setValue(1000);
    QCOMPARE(dialog.minimumBox->value(), 1000);
    QVERIFY(!ok->isEnabled());
    QVERIFY(!dialog.problem->isHidden());
    QCOMPARE(announced.size(), 1);
    dialog.maximumBox->setValue(1001);
    QVERIFY(ok->isEnabled());
    QVERIFY(dialog.problem->isHidden());
    dialog.stretchBox->setCurrentIndex(2);
    dialog.mapBox->setCurrentText(QStringLiteral("グレー"));
    QCOMPARE(last(), (ColourSettings{1000, 1001, Stretch::Log, ColourMapId::Grey}));
    QCOMPARE(announced.size(), 4);
    QCOMPARE(dialog.stretchBox->currentText(), QStringLiteral("対数"));
}

// Typed numbers keep their digits; a key that would leave the range is
// refused with the bell, not dropped silently.
void TestColourSettings::typedNumbersKeepTheirDigits_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("refused");
    QTest::addColumn<bool>("acceptable");
    QTest::newRow("above 最大") << "700" << 700 << 0 << false;
    QTest::newRow("below 最大") << "-20" << -20 << 0 << true;
    QTest::newRow("beyond 16 bits") << "40000" << 4000 << 1 << false;
}

void TestColourSettings::typedNumbersKeepTheirDigits() {
    QFETCH(QString, typed);
    QFETCH(int, minimum);
    QFETCH(int, refused);
    QFETCH(bool, acceptable);
    ColourDialog dialog({0, 660, Stretch::Linear, ColourMapId::Standard}, std::nullopt);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QSignalSpy bell(dialog.minimumBox, &NumberBox::refused);
    dialog.minimumBox->setFocus();
    dialog.minimumBox->selectAll();
    QTest::keyClicks(dialog.minimumBox, typed);
    QCOMPARE(dialog.minimumBox->value(), minimum);
    QCOMPARE(bell.size(), refused);
    QCOMPARE(dialog.buttons->button(QDialogButtonBox::Ok)->isEnabled(), acceptable);
}

// The colour dialog opens beside the chart it previews, inside the screen:
// a 1280 x 800 laptop screen, a 300 x 250 dialog.
void TestColourSettings::dialogLeavesTheChartInView_data() {
    QTest::addColumn<QRect>("chart");
    QTest::addColumn<QPoint>("expected");
    QTest::newRow("room on the right") << QRect(0, 30, 800, 500) << QPoint(808, 30);
    QTest::newRow("room below only") << QRect(100, 30, 1100, 400) << QPoint(100, 438);
    QTest::newRow("room on the left only") << QRect(400, 30, 870, 700) << QPoint(92, 30);
    QTest::newRow("no room: least covered, inside")
        << QRect(10, 10, 1260, 780) << QPoint(10, 550);
}

void TestColourSettings::dialogLeavesTheChartInView() {
    QFETCH(QRect, chart);
    QFETCH(QPoint, expected);
    const QRect screen(0, 0, 1280, 800);
    const QPoint placed = PlaceBeside({300, 250}, chart, screen);
    QCOMPARE(placed, expected);
    QVERIFY(screen.contains(QRect(placed, QSize(300, 250))));
}

// The colour dialog's settings show on the chart while it is open, Cancel
// goes back, OK keeps them, and a new start of the viewer has them again.
void TestColourSettings::coloursPreviewAndAreRemembered() {
    QTemporaryDir dir;
    const QString log = WriteTestFile(dir.filePath("261208.log"), LogBytes(Filled(300)));
    const auto chartIn = [&](ColourMapId map) {
        ImageSurface chart(ChartPictureSize);
        ObservationGrid grid;
        ReadLogFile(log, grid);
        DrawChart(chart, grid, log, ColourTable({0, 1023, Stretch::Linear, map}));
        return chart.image();
    };
    {
        WindowFixture f;
        RememberedSettings remembered(f.form.view(), f.form.loader(), f.form.commands());
        f.form.loadLog(log);
        QCOMPARE(f.form.Picture1->surface().image(), chartIn(ColourMapId::Standard));
        // A preview is never written, and a cancelled dialog leaves the file
        // as it was.
        const auto stored = [this] {
            QFile file(settingsFile());
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        for (const bool ok : {false, true}) {
            QImage previewed;
            const QByteArray before = stored();
            QByteArray during;
            QTimer::singleShot(0, [&] {
                auto* dialog = qobject_cast<ColourDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                dialog->mapBox->setCurrentIndex(int(ColourMapId::Viridis));
                previewed = f.form.Picture1->surface().image();
                during = stored();
                ok ? dialog->accept() : dialog->reject();
            });
            f.form.commands().editColours();
            QCOMPARE(previewed, chartIn(ColourMapId::Viridis));
            QCOMPARE(during, before);
            QVERIFY(!before.contains("viridis"));
            QCOMPARE(stored().contains("viridis"), ok);
            QCOMPARE(f.form.Picture1->surface().image(),
                     chartIn(ok ? ColourMapId::Viridis : ColourMapId::Standard));
        }
        // A folder whose name is not UTF-8 cannot be kept in a text file, nor
        // may its display form (a path that exists nowhere) be kept instead:
        // the next start opens where the last log of a nameable folder was.
        const QString odd = PathFromBytes(PathBytes(dir.path()) + "/\xff\xfe");
        QVERIFY(std::filesystem::create_directory(FileSystemPath(odd)));
        const QByteArray bytes = LogBytes(Filled(300));
        std::ofstream(FileSystemPath(odd + "/261209.log"), std::ios::binary)
            .write(bytes.constData(), bytes.size());
        f.form.loadLog(odd + "/261209.log");
        QCOMPARE(f.form.loader().logFolder(), odd);
    }
    WindowFixture again;
    RememberedSettings remembered(again.form.view(), again.form.loader(), again.form.commands());
    QCOMPARE(again.form.view().colours().map, ColourMapId::Viridis);
    QCOMPARE(again.form.loader().logFolder(), dir.path());
    qunsetenv("XDG_CONFIG_HOME");
}

// 自動 takes the range of the day shown when it is pressed, though the day
// changed under the open dialog: by a load or by a followed log's growth.
void TestColourSettings::autoTakesTheDayShownWhenPressed() {
    QTemporaryDir dir;
    ObservationGrid later = Filled(0);
    for (std::size_t i = 0; i < later.cells.size(); ++i)
        later.cells[i] = std::int16_t(1000 + i % 1000);
    WindowFixture f;
    f.form.loadLog(WriteTestFile(dir.filePath("261207.log"), LogBytes(Filled(300))));
    for (const bool load : {true, false}) {
        std::optional<ColourRange> taken;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<ColourDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            if (load)
                f.form.loadLog(WriteTestFile(dir.filePath("261208.log"), LogBytes(later)));
            else
                f.form.view().replaceGrid(Filled(700), int(later.cells.size()));
            dialog->autoButton->click();
            taken = ColourRange{dialog->minimumBox->value(), dialog->maximumBox->value()};
            dialog->reject();
        });
        f.form.commands().editColours();
        QCOMPARE(taken, AutoColourRange(load ? later : Filled(700)));
    }
}

QTEST_MAIN(TestColourSettings)
#include "tst_coloursettings.moc"
