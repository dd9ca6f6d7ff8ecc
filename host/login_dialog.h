#pragma once
#include <QDialog>
#include <vector>

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
  explicit LoginDialog(sql::Database& db, QWidget* parent = nullptr);

  //! The choices as they stand (valid after exec() returned Accepted).
  Session session() const;
  //! Selects a user by login; false when there is no such user.
  bool selectUser(const QString& login);
  //! Logs in with the choices as they stand, or says what is missing and stays open.
  void accept() override;

 private:
  void loadCompanyLists();
  void rememberChoices() const;

  sql::Database& db_;
  std::vector<Choice> users_, companies_, warehouses_, cashDesks_;
  QComboBox* user_;
  QLineEdit* password_;
  QComboBox* company_;
  QComboBox* warehouse_;
  QComboBox* cashDesk_;
  QLabel* problem_;
};

}  // namespace slownik::host
