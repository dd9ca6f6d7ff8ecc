#pragma once
#include <string>

#include "engine/locked_list.h"

namespace slownik::company {

//! The company list "Firma_Brw": where the user chooses the company to work in, adds
//! (the administrator only), changes, deletes, and connects companies to this program or
//! disconnects them. A change holds the company's edit lock; adding sets the new company
//! up on the server behind a wait window, deleting removes it with all its data behind
//! another. A plain list that closes by "Wybierz" moves the program to the chosen company.
class CompanyList : public engine::LockedList {
 public:
  CompanyList();
  static engine::ListDescriptor makeDescriptor();

  int opened() override;
  void setQueueRecord(fw::ListRow& row, const data::ViewRow& source) override;
  void setAlerts() override;
  int takeEvent(const rt::Event& e) override;
  int takeAccepted(const rt::Event& e) override;
  int takeCloseEvent(const rt::Event& e) override;
  void addPopupItems(fw::PopupClass& popup) override;
  using engine::LockedList::run;
  int run(int number, int request) override;
  void closeActions() override;

 private:
  struct Selected {
    double id = 0;
    bool connected = false;  // FIR:VEX
    double semafor = 0;
  };
  Selected selected() const;
  void applyFilter(int choice);
  void updateButtons();
  //! The user may edit the company's data: the administrator, or a member of one of its
  //! groups holding "EDanePodm". Warns and answers false otherwise.
  bool mayEdit(double company) const;
  //! The user may work in the company: the administrator, or a member of one of its
  //! groups holding "SYS". Warns and answers false otherwise.
  bool mayWorkIn(double company) const;
  bool isMember(double company) const;
  void choose();
  void toggleConnection();
  //! The e-documents of the selected company.
  void openEdocuments();
  int insertCompany(int number);
  int deleteCompany();
  bool hasWorkingUsers(double company, const std::string& name) const;
  //! After the company the user works in was deleted: the user's default company, its
  //! warehouse and cash desk are forgotten when they named it.
  void forgetDefaults(double company) const;

  bool mustChoose_ = false;   // the company worked in was deleted
  bool choosing_ = false;     // "Wybierz" is closing the window
  bool connected_ = false;    // the selected row's VEX, as the buttons show it
};

//! Moves the running program to `company`: GLO:ID_FIRMY, its tax flags and default bank
//! accounts, and the user's warehouse and cash desk in it (the defaults "DomMagazyn" and
//! "DomKasa" when they belong to that company, else the first the user may work in).
void switchToCompany(double company);

}  // namespace slownik::company

//! The company list (GLOBALREQUEST 4: a picker leaving the chosen company in the FIRMA
//! record buffer; otherwise choosing a company makes it the one the program works in).
extern "C" void FIRMA_BRW();
