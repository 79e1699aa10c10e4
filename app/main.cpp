// SPDX-License-Identifier: MIT
#include "CommandLine.h"
#include "DisplayCheck.h"
#include "Form1.h"
#include "PathText.h"
#include "RememberedSettings.h"
#include "Translations.h"

#include <QApplication>
#include <QGuiApplication>
#include <QTimer>

#include <cstdio>
#include <string>

namespace {

QtMessageHandler QtOwnMessages = nullptr;

// Cron and ssh give no XDG_RUNTIME_DIR, and Qt's start-up warns about that
// although rendering never uses the runtime folder; a cron job would mail the
// warning every day. Every other message goes through.
void WithoutRuntimeDirWarning(QtMsgType type, const QMessageLogContext& context,
                              const QString& message) {
    if (type == QtWarningMsg &&
        message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR")))
        return;
    QtOwnMessages(type, context, message);
}

} // namespace

int main(int argc, char* argv[]) {
    // Arguments keep their bytes: a log's name need not be UTF-8.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(PathFromBytes(argv[i]));
    const CommandLine command = ParseCommandLine(arguments);
    if (command.action == CommandLine::Exit) {
        std::fputs(PathBytes(command.output).c_str(),
                   command.exitCode == 0 ? stdout : stderr);
        return command.exitCode;
    }

    if (command.action == CommandLine::Events)
        return RunEventsCommand(command.events);

    if (command.action == CommandLine::Render) {
        // No window and no display: the offscreen platform gives the fonts
        // the images are drawn with, wherever it runs (cron, ssh).
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QtOwnMessages = qInstallMessageHandler(WithoutRuntimeDirWarning);
        QGuiApplication app(argc, argv);
        return RunRenderCommand(command.render);
    }

    // Without a reachable display Qt would abort with a long plugin message;
    // one line says it better.
    DisplayCheck display;
    if (!display.problem().empty()) {
        std::fprintf(stderr, "dirchart: %s\n", display.problem().c_str());
        return 1;
    }

    QApplication app(argc, argv);
    display.release(); // Qt has its own connection now
    QApplication::setApplicationName(QStringLiteral("dirchart"));
    QApplication::setApplicationVersion(QStringLiteral(DIRCHART_VERSION));

    InstallQtTranslations(QLocale());

    Form1 window;
    RememberedSettings remembered(window.view(), window.loader(), window.commands());
    window.show();
    // Once the window is shown, so that a warning about the log has a window
    // to stand over.
    if (!command.log.isEmpty())
        QTimer::singleShot(0, &window, [&window, &command] { window.loadLog(command.log); });
    return QApplication::exec();
}
