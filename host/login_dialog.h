#pragma once
#include <QDialog>
#include <vector>

#include "host/login_data.h"
#include "host/password.h"
#include "host/session.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace slownik::host {

//! Log-in: the user, the company to work in, and that company's warehouse and cash desk.
//! The lists come from the database; the last choices are offered again at the next start.
class LoginDialog : public QDialog {
  Q_OBJECT
 public:
  //! Reads the lists from db at once. `clock` times the pause after wrong passwords
  //! (tests pass their own).
  explicit LoginDialog(sql::Database& db, QWidget* parent = nullptr, LoginThrottle::Clock clock = nullptr);
  //! Shown before the database has answered: the remembered login and the password can
  //! be typed, the rest waits for showData().
  explicit LoginDialog(QWidget* parent = nullptr, LoginThrottle::Clock clock = nullptr);

  //! The lists read from the database; db serves the log-in itself (the calling thread's
  //! connection). Keeps what the user typed meanwhile.
  void showData(sql::Database& db, LoginData data);
  //! The base currency read with the lists.
  QString baseCurrency() const { return data_.baseCurrency; }

  //! The choices as they stand (valid after exec() returned Accepted).
  Session session() const;
  //! Selects a user by login; false when there is no such user. Before the lists have
  //! come, the login is put in the field and checked when they come.
  bool selectUser(const QString& login);
  //! Logs in with the choices as they stand, or says what is missing and stays open.
  //! A user whose password is still to be set chooses one here, typed twice.
  void accept() override;
  //! The text shown under the fields; empty when nothing is wrong.
  QString problem() const;

 private:
  void loadCompanyLists();
  void rememberChoices() const;
  //! Shows the second password field when the chosen user has yet to set a password.
  void showPasswordSetting();
  //! Checks the typed password; false when the log-in must not go on: *problem says why,
  //! or stays empty for a wrong password.
  bool passwordAccepted(const Choice& user, QString* problem);

  sql::Database* db_ = nullptr;
  LoginData data_;
  std::vector<Choice> users_, companies_, warehouses_, cashDesks_;
  QComboBox* user_;
  QLineEdit* password_;
  QLineEdit* repeat_;  //!< the new password again, shown while one is being set
  QLabel* repeatLabel_;
  LoginThrottle throttle_;
  QComboBox* company_;
  QComboBox* warehouse_;
  QComboBox* cashDesk_;
  QLabel* problem_;
  QWidget* ok_;
};

}  // namespace slownik::host
