#include "host/login_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

#include "host/icon_library.h"

namespace slownik::host {
namespace {

void fill(QComboBox* box, const std::vector<Choice>& rows, const QString& emptyText) {
  box->clear();
  for (const Choice& c : rows) box->addItem(c.name, c.id);
  if (rows.empty()) box->addItem(emptyText, 0.0);
  box->setEnabled(!rows.empty());
}

Choice chosen(const QComboBox* box) {
  return {box->currentData().toDouble(), box->currentData().toDouble() != 0 ? box->currentText() : QString()};
}

void selectById(QComboBox* box, double id) {
  int i = box->findData(id);
  if (i >= 0) box->setCurrentIndex(i);
}

}  // namespace

LoginDialog::LoginDialog(sql::Database& db, QWidget* parent, LoginThrottle::Clock clock)
    : LoginDialog(parent, std::move(clock)) {
  showData(db, readLoginData(db));
}

LoginDialog::LoginDialog(QWidget* parent, LoginThrottle::Clock clock)
    : QDialog(parent), throttle_(clock ? std::move(clock) : LoginThrottle::Clock([] {
                                            return std::chrono::steady_clock::now();
                                          })) {
  setWindowTitle(tr("Logowanie"));
  setWindowIcon(IconLibrary::instance().icon("slownik"));

  user_ = new QComboBox;
  user_->setEditable(true);  // type the login and let completion find it
  user_->setInsertPolicy(QComboBox::NoInsert);
  password_ = new QLineEdit;
  password_->setEchoMode(QLineEdit::Password);
  password_->setObjectName("haslo");
  repeat_ = new QLineEdit;
  repeat_->setEchoMode(QLineEdit::Password);
  repeat_->setObjectName("powtorzHaslo");
  repeatLabel_ = new QLabel(tr("&Powtórz hasło:"));
  repeatLabel_->setBuddy(repeat_);
  company_ = new QComboBox;
  warehouse_ = new QComboBox;
  cashDesk_ = new QComboBox;

  auto* form = new QFormLayout;
  form->addRow(tr("&Użytkownik:"), user_);
  form->addRow(tr("&Hasło:"), password_);
  form->addRow(repeatLabel_, repeat_);
  form->addRow(tr("&Firma:"), company_);
  form->addRow(tr("&Magazyn:"), warehouse_);
  form->addRow(tr("&Kasa:"), cashDesk_);

  problem_ = new QLabel;
  problem_->setWordWrap(true);
  problem_->setStyleSheet("color: #b00020");
  problem_->hide();

  auto* buttons = new QDialogButtonBox;
  QPushButton* ok = buttons->addButton(tr("&Zaloguj"), QDialogButtonBox::AcceptRole);
  buttons->addButton(tr("&Anuluj"), QDialogButtonBox::RejectRole);
  ok->setDefault(true);
  ok_ = ok;
  connect(buttons, &QDialogButtonBox::accepted, this, &LoginDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &LoginDialog::reject);

  auto* heading = new QLabel(tr("<b>Słownik</b> — dane podstawowe systemu magazynowo-handlowego"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(heading);
  layout->addLayout(form);
  layout->addWidget(problem_);
  layout->addWidget(buttons);
  setMinimumWidth(420);

  // Until the database answers, the dialog offers what it remembers: the user can type
  // the password while the connection is made.
  QSettings settings;
  user_->setEditText(settings.value("logowanie/uzytkownik").toString());
  for (QWidget* w : std::initializer_list<QWidget*>{company_, warehouse_, cashDesk_, ok_}) w->setEnabled(false);
  problem_->setText(tr("Łączenie z bazą danych…"));
  problem_->setStyleSheet(QString());
  problem_->show();
}

void LoginDialog::showData(sql::Database& db, LoginData data) {
  db_ = &db;
  data_ = std::move(data);
  const QString typed = user_->currentText();
  const bool passwordFocused = password_->hasFocus();
  users_ = data_.users;
  user_->clear();
  for (const Choice& u : users_) {
    user_->addItem(u.login, u.id);
    user_->setItemData(user_->count() - 1, u.name, Qt::ToolTipRole);
  }
  user_->setEnabled(true);
  companies_ = data_.companies;
  fill(company_, companies_, tr("(brak firm)"));
  problem_->hide();
  if (users_.empty() || companies_.empty()) {
    problem_->setText(!data_.error.isEmpty() ? tr("Nie można odczytać danych logowania: %1").arg(data_.error)
                      : users_.empty()       ? tr("Baza danych nie zawiera użytkowników.")
                                             : tr("Baza danych nie zawiera jeszcze firm: po zalogowaniu dodaj firmę "
                                                  "w kartotece firm."));
    problem_->setStyleSheet("color: #b00020");
    problem_->show();
  }

  QSettings settings;
  if (!selectUser(typed)) {
    if (!typed.isEmpty())
      user_->setEditText(typed);  // a login the database does not know: the log-in says so
    else if (!selectUser(settings.value("logowanie/uzytkownik").toString()))
      selectUser("Admin");
  }
  selectById(company_, settings.value("logowanie/firma").toDouble());
  loadCompanyLists();
  selectById(warehouse_, settings.value("logowanie/magazyn").toDouble());
  selectById(cashDesk_, settings.value("logowanie/kasa").toDouble());
  ok_->setEnabled(true);
  connect(company_, &QComboBox::currentIndexChanged, this, &LoginDialog::loadCompanyLists, Qt::UniqueConnection);
  connect(user_, &QComboBox::currentTextChanged, this, &LoginDialog::showPasswordSetting, Qt::UniqueConnection);
  showPasswordSetting();
  if (passwordFocused) password_->setFocus();
}

QString LoginDialog::problem() const { return problem_->isHidden() ? QString() : problem_->text(); }

void LoginDialog::showPasswordSetting() {
  const Choice* u = findUser(users_, user_->currentText());
  const bool setting = u && u->password == QLatin1String(kPasswordToBeSet);
  repeat_->setVisible(setting);
  repeatLabel_->setVisible(setting);
  if (setting) {
    QString text = tr("Pierwsze uruchomienie: ustal hasło użytkownika %1 (co najmniej 8 znaków) i wpisz je dwa razy.")
                       .arg(u->login);
    if (companies_.empty()) text += "\n" + tr("Baza danych nie zawiera jeszcze firm: po zalogowaniu dodaj firmę w kartotece firm.");
    problem_->setText(text);
    problem_->setStyleSheet(QString());
    problem_->show();
  }
}

bool LoginDialog::passwordAccepted(const Choice& user, QString* problem) {
  const QString typed = password_->text();
  if (user.password == QLatin1String(kPasswordToBeSet)) {
    if (typed.size() < 8) {
      *problem = tr("Hasło musi mieć co najmniej 8 znaków.");
      return false;
    }
    if (typed != repeat_->text()) {
      *problem = tr("Wpisane hasła różnią się. Wpisz nowe hasło dwa razy tak samo.");
      return false;
    }
    if (sql::Status s = storePassword(*db_, user.id, typed); !s) {
      *problem = QString::fromStdString(s.message());
      return false;
    }
    users_ = users(*db_);  // the stored form, should the log-in have to be tried again
    showPasswordSetting();
    return true;
  }
  switch (checkPassword(user.password, typed)) {
    case PasswordCheck::Wrong:
      return false;  // the caller says so, and counts the try
    case PasswordCheck::RightButOld:
      // Made again in today's form now that the password is at hand. A failure costs only
      // the upgrade: the user still logs in, and the next log-in tries again.
      if (sql::Status s = storePassword(*db_, user.id, typed); !s)
        qWarning("Hasło użytkownika %s pozostaje w starej postaci: %s", qPrintable(user.login), s.message().c_str());
      return true;
    case PasswordCheck::Right:
      return true;
  }
  return false;
}

bool LoginDialog::selectUser(const QString& login) {
  if (!db_) {  // the lists are on their way: the login waits in the field
    user_->setEditText(login);
    return true;
  }
  const Choice* u = findUser(users_, login);
  if (!u) return false;
  user_->setCurrentIndex(user_->findData(u->id));
  return true;
}

void LoginDialog::loadCompanyLists() {
  double company = company_->currentData().toDouble();
  auto of = [company](const std::map<double, std::vector<Choice>>& lists) {
    auto found = lists.find(company);
    return company && found != lists.end() ? found->second : std::vector<Choice>{};
  };
  warehouses_ = of(data_.warehouses);
  cashDesks_ = of(data_.cashDesks);
  fill(warehouse_, warehouses_, tr("(brak magazynów)"));
  fill(cashDesk_, cashDesks_, tr("(brak kas)"));
}

Session LoginDialog::session() const {
  Session s;
  if (const Choice* u = findUser(users_, user_->currentText())) s.user = *u;
  s.company = chosen(company_);
  s.warehouse = chosen(warehouse_);
  s.cashDesk = chosen(cashDesk_);
  return s;
}

void LoginDialog::accept() {
  if (!db_) return;  // the database has not answered yet: "Zaloguj" is not offered
  const Session s = session();
  QString problem;
  QWidget* culprit = nullptr;
  if (auto wait = throttle_.waitBeforeNextTry(); wait.count() > 0) {
    problem = tr("Zbyt wiele nieudanych prób logowania. Następna próba będzie możliwa za %1 s.").arg(wait.count());
    culprit = password_;
  } else if (s.user.id == 0 || !passwordAccepted(s.user, &problem)) {
    // An unknown user reads as a wrong password: the text tells nobody which logins exist.
    if (problem.isEmpty()) {
      problem = tr("Nieprawidłowa nazwa użytkownika lub hasło.");
      throttle_.recordWrong();
    }
    culprit = password_;
    password_->selectAll();
  } else if (s.company.id == 0 && !companies_.empty()) {  // a new office's database has none yet
    throttle_.recordRight();
    problem = tr("Wybierz firmę, w której chcesz pracować.");
    culprit = company_;
  }
  if (culprit) {
    problem_->setText(problem);
    problem_->setStyleSheet("color: #b00020");
    problem_->show();
    culprit->setFocus();
    return;
  }
  throttle_.recordRight();
  rememberChoices();
  QDialog::accept();
}

void LoginDialog::rememberChoices() const {
  QSettings settings;
  Session s = session();
  settings.setValue("logowanie/uzytkownik", s.user.login);
  settings.setValue("logowanie/firma", s.company.id);
  settings.setValue("logowanie/magazyn", s.warehouse.id);
  settings.setValue("logowanie/kasa", s.cashDesk.id);
}

}  // namespace slownik::host
