// SPDX-License-Identifier: MIT
#include "ControlNames.h"

#include "Form1.h"
#include "HScrollBar.h"
#include "PictureBox.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

void NameControls(Form1& form) {
    const std::pair<QWidget*, const char*> names[]{
        {form.Picture1, "方向時刻信号チャート"},
        {form.cmd1, "読み込み"},
        {form.Picture2, "極座標プロット"},
        {form.HScroll1, "時刻"},
        {form.HScroll2, "スライダー 2（未使用）"},
        {form.HScroll3, "スライダー 3（未使用）"},
        {form.Text1, "観測ログのパス"},
        {form.Command1, "cos 20° の計算"},
        {form.Text2, "時刻表示"},
        {form.Text3, "倍率の値"},
        {form.HScroll4, "倍率"},
        {form.Label1, "倍率"},
    };
    for (const auto& [control, name] : names)
        control->setAccessibleName(QString::fromUtf8(name));
}
