#pragma once
#include <QMainWindow>
#include <functional>
#include <vector>

#include "host/module_library.h"
#include "host/session.h"

class QLabel;
class QMdiArea;
class QMenu;

namespace slownik::host {

class FrameToolBar;
class ProcedureLauncher;
class StartPage;

//! The host's frame: a menu of every entry point the module offers, grouped by
//! subsystem, a workspace where the module's windows open, the frame toolbar that
//! acts on the active window, and a status bar with company, user, warehouse and cash desk.
class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  MainWindow(const Session& session, const std::vector<EntryPoint>& entries, ProcedureLauncher* launcher,
             QWidget* parent = nullptr);

  QMdiArea* workspace() const { return workspace_; }
  FrameToolBar* frameToolBar() const { return toolBar_; }
  //! The subsystem menus built from the entry table, in menu-bar order.
  const QList<QMenu*>& entryMenus() const { return entryMenus_; }
  //! Shows the session in the status bar (after log-in or a change of company).
  void showSession(const Session& session);
  //! Asks every open window of the module to close (set by whoever draws them); the
  //! frame calls it when the user quits while windows are open.
  void setCloseWindows(std::function<void()> closeWindows) { closeWindows_ = std::move(closeWindows); }
  //! The module's description for "O programie".
  void setModuleDescription(const QString& text) { moduleDescription_ = text; }
  //! Shows the frame where and as large as the user left it (maximised the first time).
  void showAsLastTime();
  //! The menu listing the open windows ("Okna").
  QMenu* windowsMenu() const { return windowsMenu_; }
  //! Rebuilds the list of open windows at the end of "Okna" (done when the menu opens).
  void listOpenWindows();
  //! What the empty workspace shows.
  StartPage* startPage() const { return startPage_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void showAbout();
  void showHelpContents();
  void storePlacement() const;
  QLabel* addStatusField(const char* objectName);

  ProcedureLauncher* launcher_;
  QMdiArea* workspace_;
  FrameToolBar* toolBar_;
  QList<QMenu*> entryMenus_;
  QLabel* company_;
  QLabel* user_;
  QLabel* warehouse_;
  QLabel* cashDesk_;
  std::function<void()> closeWindows_;
  QString moduleDescription_;
  QMenu* windowsMenu_;
  QList<QAction*> windowActions_;
  StartPage* startPage_;
  bool altAlone_ = false;
};

}  // namespace slownik::host
