#pragma once
#include <memory>
#include <string_view>

#include "dictionaries/banking/kir_progress.h"
#include "framework/services/progress_window.h"

namespace slownik::banking {

//! The import's progress shown in the framework's progress window "Import banków...":
//! the thermometer, the name of the branch being read (?NAZWA), the counter "n/total"
//! (?LICZNIK) and "Anuluj" (?PROGRESS:CANCEL; Esc and the close box cancel too).
//! Opened on the calling (procedure) thread by the constructor, closed by end() or the
//! destructor. The window's input is taken before each record, so a cancel stops the
//! import at the next record rather than at the end of a batch.
class KirProgressWindow final : public KirProgress {
 public:
  static constexpr std::string_view kTitle = "Import banków...";

  KirProgressWindow();
  ~KirProgressWindow() override { end(); }
  KirProgressWindow(const KirProgressWindow&) = delete;
  KirProgressWindow& operator=(const KirProgressWindow&) = delete;

  void begin(long total) override;
  void step(long counter, long total, std::string_view name) override;
  bool isCancelled() override { return window_.checkCancel(); }
  void end() override { window_.close(); }

  const std::shared_ptr<rt::Window>& window() const { return window_.window(); }

 private:
  svc::ProgressWindow window_;
};

}  // namespace slownik::banking
