#pragma once
#include <QWidget>

class QMdiArea;
class QMenu;

namespace slownik::host {

//! What an empty workspace shows: the program's name and the main entries of the
//! frame's menus, one button each, so that a new user sees where to begin. It lies
//! under the workspace's windows and hides while any window is open.
class StartPage : public QWidget {
  Q_OBJECT
 public:
  StartPage(QMdiArea* workspace, const QList<QMenu*>& menus);

  //! Shows the page when the workspace holds no window, hides it otherwise.
  void follow();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QMdiArea* workspace_;
};

}  // namespace slownik::host
