// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

class LoadDialogs;
class LogLoader;
class PictureActions;
class PictureBox;
class QWidget;
class ViewState;

// The window's commands beyond its controls, each with its key and its
// entries in the pictures' menus: the colour settings (Ctrl+K, 色の設定...).
// They read and change the view state, as the controls do.
class ViewCommands : public QObject {
    Q_OBJECT
  public:
    ViewCommands(ViewState& view, LogLoader& loader, LoadDialogs& dialogs,
                 PictureActions& pictures, PictureBox& chart, PictureBox& polar, QWidget* window);

    // The colour dialog: the pictures follow its settings while it is open;
    // Cancel goes back to those before.
    void EditColours();

  private:
    ViewState& m_view;
    LogLoader& m_loader;
    LoadDialogs& m_dialogs;
    QWidget* m_window;
};
