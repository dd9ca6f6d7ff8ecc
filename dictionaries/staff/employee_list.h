#pragma once
#include <string>

#include "engine/locked_list.h"
#include "framework/classes/split_manager.h"

namespace slownik::staff {

//! The archive tree's entries: their captions and the archive part of the list's filter.
struct ArchiveEntry {
  const char* caption;
  const char* condition;
};
//! "Wszystko" (every employee, archived ones too), "Aktualni", "Archiwum".
const std::vector<ArchiveEntry>& archiveEntries();

//! The employee list "Pracownik_Brw" ("Lista pracowników") of the current company: three
//! sort orders, each ascending or descending, a filter made in the filter window and the
//! archive tree beside the list, duplication and archiving of employees. Rows others
//! edit are blue, archived rows grey. Opened with GLO:KONTEKST_GNIAZDO above 0 the list
//! only lets the user choose an employee.
class EmployeeList : public engine::LockedList {
 public:
  //! Reads and empties GLO:KONTEKST_GNIAZDO.
  EmployeeList();
  static engine::ListDescriptor makeDescriptor();

  int opened() override;
  void orderApplied() override;
  void setQueueRecord(fw::ListRow& row, const data::ViewRow& source) override;
  void setResizeStrategies(fw::WindowResizeClass& resizer) override;
  void setAlerts() override;
  int takeEvent(const rt::Event& e) override;
  int takeAccepted(const rt::Event& e) override;
  void addPopupItems(fw::PopupClass& popup) override;
  void takePopupChoice(const std::string& item) override;
  using engine::LockedList::run;
  int run(int number, int request) override;
  int kill() override;

 private:
  //! Reads the selected row into the record buffer; its id, 0 when there is none.
  double selectedEmployee();
  void chooseArchive(int entry);
  void openFilter();
  void clearEmployeeFilter();
  void applyFilter();
  void chooseSort(int order);
  void toggleDirection();
  void showDirection();
  void showEmployee();
  void duplicate();
  void archive();
  void showFilterMenu();
  //! The list's query from "FROM" on, for the additional tables window.
  std::string tablesListSql() const;
  void openTables();
  void openEdocuments();

  bool restricted_ = false;
  double openOn_ = 0;  // the employee the list opens on (restricted mode)
  int sort_ = 1;
  bool descending_ = false;
  std::string employeeFilter_;
  std::string archiveFilter_;
  fw::SplitManager splitter_;  // between the list and the archive tree, kept per user
};

}  // namespace slownik::staff

//! The exported list: GLOBALREQUEST 4 makes it a picker that leaves the chosen employee
//! in the PRACOWNIK record buffer and GLOBALRESPONSE 1.
extern "C" void PRACOWNIK_BRW();
