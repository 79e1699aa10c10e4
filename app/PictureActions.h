// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>

class LoadDialogs;
class PictureBox;
class QWidget;
class ViewState;

// What the two pictures do besides showing their charts: readouts under the
// pointer, picking a slot on the chart, the marker of the polar plot's slot,
// copying and saving, the menu from the keyboard, and descriptions for
// assistive tools. It reads the view state and changes only its slot.
class PictureActions : public QObject {
    Q_OBJECT
  public:
    PictureActions(ViewState& view, PictureBox& chart, PictureBox& polar, LoadDialogs& dialogs,
                   QWidget* window);

    // The menu of the picture under the mouse, or, with the mouse elsewhere,
    // both pictures' menus one level down, at the focused control.
    void ShowMenuFromKeyboard();

  private:
    QString ValueText(int slot, int bin) const;
    void Save(const PictureBox& picture, const QString& suggestedName);
    void Describe();

    ViewState& m_view;
    PictureBox& m_chart;
    PictureBox& m_polar;
    LoadDialogs& m_dialogs;
    QWidget* m_window;
    // Where the Save dialog starts: where the last file was saved in this
    // session, else the shown log's folder.
    QString m_saveFolder;
};
