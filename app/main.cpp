// SPDX-License-Identifier: MIT
#include "DisplayCheck.h"
#include "Form1.h"
#include "Translations.h"

#include <QApplication>

#include <cstdio>
#include <string>

int main(int argc, char* argv[]) {
    // Without a reachable display Qt would abort with a long plugin message;
    // one line says it better.
    if (const std::string problem = DisplayProblem(); !problem.empty()) {
        std::fprintf(stderr, "dirchart: %s\n", problem.c_str());
        return 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("dirchart"));

    InstallQtTranslations(QLocale());

    Form1 window;
    window.show();
    return QApplication::exec();
}
