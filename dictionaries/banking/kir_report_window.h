#pragma once
#include <string>

#include "engine/list_output.h"
#include "engine/list_window.h"
#include "framework/classes/browse_class.h"

namespace slownik::banking {

//! The report of a branch import, "Raport importu banków z KIR": the banks whose data in
//! the file differs from BANKI (?LIST, "Zmienione w pliku KIR"), with the buttons that
//! apply the selected changes or all of them after a question, and the banks the import
//! added or failed to add (?LIST1). Both lists sort, search, export, print and copy as
//! every list does.
class KirReportWindow : public engine::ListWindow {
 public:
  explicit KirReportWindow(long long reportId);
  static engine::ListDescriptor descriptor();

  int opened() override;
  void setRanges(data::ViewManager& view) override;
  void setQueueRecord(fw::ListRow& row, const data::ViewRow& source) override;
  int takeAccepted(const rt::Event& e) override;

 private:
  //! The added list: the outcome of each insert in words, a failure in red.
  class AddedList : public fw::BrowseClass {
   public:
    void setQueueRecord(fw::ListRow& row, const data::ViewRow& source) override;
  };

  void describe();
  void showCounts();
  void apply(bool all);

  long long reportId_;
  data::ViewManager addedView_;
  fw::ListQueue addedQueue_;
  AddedList added_;
  engine::ListOutputs addedOutputs_{added_};
};

//! Opens the report of import `reportId` on the calling thread and runs it to its close.
void showKirReport(long long reportId);
//! The current user's latest report, or the information that there is none.
void showLatestKirReport();

}  // namespace slownik::banking
