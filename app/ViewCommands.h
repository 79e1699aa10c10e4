// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

class LoadDialogs;
class LogLoader;
class OverviewWindow;
class PictureActions;
class PictureBox;
class QWidget;
class ViewState;

// The window's commands beyond its controls, each with its key and its
// entries in the pictures' menus: the colour settings (Ctrl+K, 色の設定...)
// and the overview of the folder's days (Ctrl+L, 一覧...).
// They read and change the view state, as the controls do.
class ViewCommands : public QObject {
    Q_OBJECT
  public:
    ViewCommands(ViewState& view, LogLoader& loader, LoadDialogs& dialogs,
                 PictureActions& pictures, PictureBox& chart, PictureBox& polar, QWidget* window);
    ~ViewCommands() override;

    // The colour dialog: the pictures follow its settings while it is open;
    // Cancel goes back to those before.
    void EditColours();
    // The overview of the shown log's folder (Ctrl+L, 一覧...); without a
    // log shown, a folder dialog asks which. Again, it comes to the front.
    void ShowOverview();

  private:
    void ConnectOverview();

    ViewState& m_view;
    LogLoader& m_loader;
    LoadDialogs& m_dialogs;
    QWidget* m_window;
    OverviewWindow* m_overview = nullptr;
};
