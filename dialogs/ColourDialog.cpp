// SPDX-License-Identifier: MIT
#include "ColourDialog.h"

#include "NumberBox.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

NumberBox* ValueBox(QWidget* parent) {
    auto* box = new NumberBox(parent);
    box->setRange(ColourSettings::LowestValue, ColourSettings::HighestValue);
    box->setAccelerated(true);
    return box;
}

} // namespace

ColourDialog::ColourDialog(const ColourSettings& current, std::optional<ColourRange> autoRange,
                           QWidget* parent)
    : QDialog(parent), m_announced(current) {
    setWindowTitle(QStringLiteral("色の設定"));

    minimumBox = ValueBox(this);
    maximumBox = ValueBox(this);
    stretchBox = new QComboBox(this);
    for (const Stretch stretch : AllStretches)
        stretchBox->addItem(QString::fromUtf8(StretchLabel(stretch)));
    mapBox = new QComboBox(this);
    for (const ColourMapId map : AllColourMaps)
        mapBox->addItem(QString::fromUtf8(ColourMapLabel(map)));
    autoButton = new QPushButton(QStringLiteral("自動"), this);
    autoButton->setToolTip(QStringLiteral("表示中の日の 0 以外の値の 1 % 点から 99 % 点まで"));
    resetButton = new QPushButton(QStringLiteral("標準に戻す"), this);
    buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    problem = new QLabel(QStringLiteral("最小は最大より小さくしてください。"), this);
    problem->setStyleSheet(QStringLiteral("color: #b00000"));
    problem->hide();
    // Enter in a spin box accepts the dialog, not the last button clicked.
    autoButton->setAutoDefault(false);
    resetButton->setAutoDefault(false);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("最小"), minimumBox);
    form->addRow(QStringLiteral("最大"), maximumBox);
    form->addRow(QStringLiteral("目盛り"), stretchBox);
    form->addRow(QStringLiteral("カラーマップ"), mapBox);
    auto* row = new QHBoxLayout;
    row->addWidget(autoButton);
    row->addWidget(resetButton);
    row->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(row);
    layout->addWidget(problem);
    layout->addWidget(buttons);
    QWidget* previous = minimumBox;
    for (QWidget* next : std::initializer_list<QWidget*>{maximumBox, stretchBox, mapBox, autoButton,
                                                         resetButton, buttons}) {
        setTabOrder(previous, next);
        previous = next;
    }

    setSettings(current);
    setAutoRange(autoRange);

    connect(minimumBox, &QSpinBox::valueChanged, this, &ColourDialog::announce);
    connect(maximumBox, &QSpinBox::valueChanged, this, &ColourDialog::announce);
    connect(stretchBox, &QComboBox::currentIndexChanged, this, &ColourDialog::announce);
    connect(mapBox, &QComboBox::currentIndexChanged, this, &ColourDialog::announce);
    connect(autoButton, &QPushButton::clicked, this, [this] {
        if (!m_autoRange)
            return;
        ColourSettings colours = settings();
        colours.minimum = m_autoRange->minimum;
        colours.maximum = m_autoRange->maximum;
        setSettings(colours);
    });
    connect(resetButton, &QPushButton::clicked, this, [this] { setSettings({}); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

ColourSettings ColourDialog::settings() const {
    return {minimumBox->value(), maximumBox->value(),
            AllStretches[static_cast<std::size_t>(stretchBox->currentIndex())],
            AllColourMaps[static_cast<std::size_t>(mapBox->currentIndex())]};
}

void ColourDialog::setSettings(const ColourSettings& colours) {
    m_updating = true;
    minimumBox->setValue(colours.minimum);
    maximumBox->setValue(colours.maximum);
    stretchBox->setCurrentIndex(static_cast<int>(colours.stretch));
    mapBox->setCurrentIndex(static_cast<int>(colours.map));
    m_updating = false;
    announce();
}

void ColourDialog::setAutoRange(std::optional<ColourRange> autoRange) {
    m_autoRange = autoRange;
    autoButton->setEnabled(autoRange.has_value());
}

void ColourDialog::announce() {
    if (m_updating)
        return;
    // Both ends keep what was typed, so that 700 typed over 660 is not cut
    // to 70 on the way; until the range is valid again, OK waits.
    const bool valid = minimumBox->value() < maximumBox->value();
    problem->setVisible(!valid);
    buttons->button(QDialogButtonBox::Ok)->setEnabled(valid);
    if (!valid)
        return;
    const ColourSettings colours = settings();
    if (colours == m_announced)
        return;
    m_announced = colours;
    emit settingsChanged(colours);
}
