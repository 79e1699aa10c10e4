// SPDX-License-Identifier: MIT
// Writes the application icon as PNG files for the desktop's icon theme, one
// per size, laid out the way an icon theme folder is:
// OUTDIR/<N>x<N>/apps/dirchart.png. The icon is drawn by the same code the
// window uses for its own icon, so the installed icon always matches it.
//
// Usage: dirchart-icons OUTDIR SIZE...

#include "AppIcon.h"

#include <QDir>
#include <QGuiApplication>
#include <QSaveFile>
#include <QString>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUTDIR SIZE...\n", argv[0]);
        return 2;
    }

    // Painting needs a QGuiApplication, but a build has no display to offer.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);

    const QDir out(QString::fromLocal8Bit(argv[1]));
    for (int i = 2; i < argc; ++i) {
        bool ok = false;
        const int size = QString::fromLocal8Bit(argv[i]).toInt(&ok);
        if (!ok || size < 1 || size > 1024) {
            std::fprintf(stderr, "%s: not an icon size: %s\n", argv[0], argv[i]);
            return 2;
        }

        const QString folder = QStringLiteral("%1x%1/apps").arg(size);
        if (!out.mkpath(folder)) {
            std::fprintf(stderr, "%s: cannot create %s\n", argv[0],
                         qPrintable(out.filePath(folder)));
            return 1;
        }
        // Written whole or not at all, so an interrupted build never leaves a
        // truncated icon behind that looks up to date.
        QSaveFile file(out.filePath(folder + QStringLiteral("/dirchart.png")));
        if (!file.open(QIODevice::WriteOnly) || !AppIconImage(size).save(&file, "PNG") ||
            !file.commit()) {
            std::fprintf(stderr, "%s: cannot write %s: %s\n", argv[0], qPrintable(file.fileName()),
                         qPrintable(file.errorString()));
            return 1;
        }
    }
    return 0;
}
