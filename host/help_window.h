#pragma once
#include <QString>
#include <QWidget>

class QTextBrowser;

namespace slownik::host {

//! The program's one help window. Every F1 and "Pomoc → Spis treści" shows its page
//! here instead of opening another window; Esc closes it. The pages come from the
//! resources' help folder and are drawn with the folder's help.css.
class HelpWindow : public QWidget {
  Q_OBJECT
 public:
  //! The window, made on first use (GUI thread).
  static HelpWindow* instance();
  //! Whether the window has been made (tests).
  static bool exists();

  //! The file a topic names ("kar_fin_walut.htm", "kar_fin_bank.htm#kursy"; ".html" and
  //! the name without its extension are tried too), or "" when the folder has none.
  static QString pageFile(const QString& topic);
  //! The contents page.
  static constexpr const char* kContentsPage = "slownik.htm";

  //! Shows the topic's page and brings the window to the front; false (and nothing
  //! shown) when there is no such page.
  bool showTopic(const QString& topic);
  QTextBrowser* browser() const { return browser_; }

 private:
  HelpWindow();
  QTextBrowser* browser_;
};

}  // namespace slownik::host
