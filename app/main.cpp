// SPDX-License-Identifier: MIT
#include "Form1.h"
#include "Translations.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    // Without a display Qt would abort with a long plugin message; one line
    // says it better.
    if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY") &&
        !std::getenv("WAYLAND_DISPLAY")) {
        std::fputs("dirchart: no display (DISPLAY and WAYLAND_DISPLAY are unset); "
                   "start it from a desktop session\n",
                   stderr);
        return 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("dirchart"));

    InstallQtTranslations(QLocale());

    Form1 window;
    window.show();
    return QApplication::exec();
}
