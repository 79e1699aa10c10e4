// SPDX-License-Identifier: MIT
// The yardstick for the viewer's start-up: a bare window with the same
// controls at the same places, and nothing drawn.

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Form1"));
    window.resize(878, 637);

    const auto frame = [&window](int x, int y, int size) {
        auto* picture = new QFrame(&window);
        picture->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
        picture->setGeometry(x, y, size == 0 ? 817 : size, size == 0 ? 281 : size);
    };
    const auto bar = [&window](int x, int y, int width, int maximum) {
        auto* scrollBar = new QScrollBar(Qt::Horizontal, &window);
        scrollBar->setRange(0, maximum);
        scrollBar->setGeometry(x, y, width, 17);
    };
    const auto text = [&window](int x, int y, int width, const char* content) {
        (new QLineEdit(QString::fromUtf8(content), &window))->setGeometry(x, y, width, 25);
    };
    frame(0, 0, 0);
    (new QPushButton(QStringLiteral("読み込み"), &window))->setGeometry(8, 544, 89, 33);
    frame(112, 368, 265);
    for (int y : {296, 320, 344})
        bar(8, y, 761, 719);
    text(432, 400, 249, "Text1");
    (new QPushButton(QStringLiteral("Command1"), &window))->setGeometry(32, 424, 41, 49);
    text(432, 432, 249, "Text2");
    text(464, 504, 41, "1");
    bar(432, 536, 233, 50);
    auto* label = new QLabel(QStringLiteral("倍率"), &window);
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic")});
    font.setPointSizeF(11.25);
    label->setFont(font);
    label->setGeometry(424, 504, 41, 17);

    window.show();
    return QApplication::exec();
}
