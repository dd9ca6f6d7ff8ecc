#pragma once
#include <set>
#include <string>

#include "engine/list_window.h"

namespace slownik::company {

//! The marks of the warehouse list are kept in ZAZNACZONE under this usage number, so
//! callers that let the user pick a set of warehouses read them from there.
inline constexpr int kWarehouseMarkUsage = 30;

//! How a caller's context word shapes the warehouse list.
struct WarehouseListMode {
  bool marking = false;           //!< rows can be marked (GENZAM, TKBTOREB2B, restricted mode)
  bool markColumn = false;        //!< the mark column is shown
  bool synchronisedOnly = false;  //!< only warehouses sharing the current one's mark
  bool readOnly = false;          //!< no Dodaj, Popraw, Usuń
  bool restricted = false;        //!< the buttons are hidden as well (GLO:KONTEKST_GNIAZDO)
  bool everyWarehouse = false;    //!< the per-warehouse "SYS" right does not filter (MM)
};

//! The mode for a context word and the restricted-mode number read at opening.
WarehouseListMode warehouseListMode(const std::string& context, double nest);

//! The warehouse list "Magazyn_Brw" of one company: a dictionary, or a picker of one
//! warehouse or of a marked set.
class WarehouseList : public engine::ListWindow {
 public:
  //! Reads and empties GLO:KONTEKST and GLO:KONTEKST_GNIAZDO.
  explicit WarehouseList(double companyId);
  static engine::ListDescriptor makeDescriptor();

  int opened() override;
  void setRanges(data::ViewManager& view) override;
  void setQueueRecord(fw::ListRow& row, const data::ViewRow& source) override;
  void setAlerts() override;
  int takeEvent(const rt::Event& e) override;
  int takeAccepted(const rt::Event& e) override;
  void addPopupItems(fw::PopupClass& popup) override;
  void takePopupChoice(const std::string& item) override;
  using engine::ListWindow::run;
  int run(int number, int request) override;

 private:
  double selectedId() const;
  void toggleMark(double id, bool moveDown);
  void markAll();
  void unmarkAll();
  void invertMarks();
  void toggleShowMarked();
  void marksChanged();
  void applyFilter();
  //! The statement of the rows the list shows now (marking all, inverting).
  std::string rowsStatement() const;
  bool deleteWarehouse();
  void afterForm(int request, int response, double id);

  double companyId_;
  double openOn_ = 0;  // the warehouse the list opens on
  WarehouseListMode mode_;
  std::string synchronisationFilter_;
  bool showMarked_ = false;
  std::set<long long> marks_;
  std::string markBefore_;       // the warehouse's synchronisation mark before the form
};

}  // namespace slownik::company

//! The warehouses of company `id_firmy` (GLOBALREQUEST 4: a picker leaving the chosen
//! warehouse in the MAGAZYN record buffer).
extern "C" void MAGAZYN_BRW(double id_firmy);
//! The warehouses of the current company.
extern "C" void MAGAZYN_SRC_BRW();
