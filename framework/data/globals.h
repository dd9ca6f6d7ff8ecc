#pragma once
#include <atomic>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace slownik::data {

//! A process-wide number that any thread may read and write without a data race.
class GlobalNumber {
 public:
  double get() const { return value_.load(std::memory_order_acquire); }
  void set(double v) { value_.store(v, std::memory_order_release); }
  operator double() const { return get(); }
  GlobalNumber& operator=(double v) {
    set(v);
    return *this;
  }

 private:
  std::atomic<double> value_{0};
};

//! A process-wide text guarded by a lock; reads return a copy.
class GlobalText {
 public:
  std::string get() const {
    std::lock_guard lock(mutex_);
    return value_;
  }
  void set(std::string v) {
    std::lock_guard lock(mutex_);
    value_ = std::move(v);
  }
  //! Reads the text and empties it in one step (context words are read once).
  std::string take() {
    std::lock_guard lock(mutex_);
    return std::exchange(value_, {});
  }
  GlobalText& operator=(std::string v) {
    set(std::move(v));
    return *this;
  }

 private:
  mutable std::mutex mutex_;
  std::string value_;
};

//! The company's default bank account per currency.
struct DefaultAccount {
  long accountId = 0;
  std::string currency;  //!< symbol, up to 4 characters
};

//! The host's global variables (GLO:…): the current company, user, warehouse, cash desk,
//! paths and context words. One instance per process; every member is race-free.
struct Globals {
  GlobalNumber ID_FIRMY;
  GlobalNumber ID_UZYTKOWNIKA;
  GlobalNumber ID_MAGAZYNU;
  GlobalNumber ID_KASY;
  GlobalNumber ID_KONTA_BANKOWEGO;
  GlobalNumber ID_KONTA_MAGAZYNU;
  GlobalText WAL_BAZOWA;
  GlobalText PATH_INI;
  GlobalText LOCALPATH;
  GlobalNumber TOOLTIPTYPE;
  GlobalText CONTR_LIST_FONT;
  GlobalText CONTR_LIST_FONT_SIZE;
  GlobalText CONTR_LIST_HEIGHT;
  GlobalText KONTEKST;
  GlobalNumber KONTEKST_GNIAZDO;
  GlobalNumber MP;
  GlobalNumber METODA_KASOWA;
  GlobalText OWNERNAMEDOS;
  GlobalText KONTRAHENT_RESPONSE;
  GlobalNumber DOKMAG_DRZEWKO_LOADED;
  GlobalNumber DOKHANDL_DRZEWKO_LOADED;
  GlobalNumber KONTR_DRZEWKO_LOADED;

  std::vector<DefaultAccount> kolRachBank() const {
    std::lock_guard lock(accountsMutex_);
    return KOLRACHBANK_;
  }
  void setKolRachBank(std::vector<DefaultAccount> accounts) {
    std::lock_guard lock(accountsMutex_);
    KOLRACHBANK_ = std::move(accounts);
  }

 private:
  mutable std::mutex accountsMutex_;
  std::vector<DefaultAccount> KOLRACHBANK_;  // GLO:KOLRACHBANK
};

//! The process's globals.
Globals& glo();

}  // namespace slownik::data
