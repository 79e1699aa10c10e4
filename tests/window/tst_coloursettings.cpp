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
#include "TestFiles.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
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
    void coloursPreviewAndAreRemembered();

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
    QTest::newRow("noise") << noise << ColourSettings{};
    QTest::newRow("not a number")
        << QByteArray("[colour]\nminimum=abc\nmaximum=400\nstretch=sqrt\nmap=viridis\n")
        << ColourSettings{0, 1023, Sqrt, Viridis};
    QTest::newRow("beyond 16 bits")
        << QByteArray("[colour]\nminimum=-40000\nmaximum=400\nstretch=cubic\nmap=grey\n")
        << ColourSettings{0, 1023, Linear, Grey};
    QTest::newRow("minimum not below maximum")
        << QByteArray("[colour]\nminimum=400\nmaximum=400\nstretch=log\nmap=jet\n")
        << ColourSettings{0, 1023, Log, Standard};
}

void TestColourSettings::damagedFileGivesDefaults() {
    QFETCH(QByteArray, content);
    QFETCH(ColourSettings, expected);
    WriteTestFile(settingsFile(), content);
    AppSettings damaged;
    QCOMPARE(damaged.colourSettings(), expected);
    // What is changed next is kept, whatever the file held.
    damaged.setColourSettings(Viridis);
    QCOMPARE(AppSettings().colourSettings(), Viridis);
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
    dialog.minimumBox->setValue(1000);
    QCOMPARE(dialog.minimumBox->value(), 399);
    dialog.maximumBox->setValue(-5);
    QCOMPARE(dialog.maximumBox->value(), 400);
    dialog.stretchBox->setCurrentIndex(2);
    dialog.mapBox->setCurrentText(QStringLiteral("グレー"));
    QCOMPARE(last(), (ColourSettings{399, 400, Stretch::Log, ColourMapId::Grey}));
    QCOMPARE(announced.size(), 4);
    QCOMPARE(dialog.stretchBox->currentText(), QStringLiteral("対数"));
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
        RememberedSettings remembered(f.form.view(), f.form.loader());
        f.form.loadLog(log);
        QCOMPARE(f.form.Picture1->surface().image(), chartIn(ColourMapId::Standard));
        for (const bool ok : {false, true}) {
            QImage previewed;
            QTimer::singleShot(0, [&] {
                auto* dialog = qobject_cast<ColourDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                dialog->mapBox->setCurrentIndex(int(ColourMapId::Viridis));
                previewed = f.form.Picture1->surface().image();
                ok ? dialog->accept() : dialog->reject();
            });
            f.form.commands().editColours();
            QCOMPARE(previewed, chartIn(ColourMapId::Viridis));
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
    RememberedSettings remembered(again.form.view(), again.form.loader());
    QCOMPARE(again.form.view().colours().map, ColourMapId::Viridis);
    QCOMPARE(again.form.loader().logFolder(), dir.path());
    qunsetenv("XDG_CONFIG_HOME");
}

QTEST_MAIN(TestColourSettings)
#include "tst_coloursettings.moc"
