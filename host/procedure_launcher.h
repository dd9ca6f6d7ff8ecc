#pragma once
#include <QObject>
#include <QString>
#include <atomic>
#include <memory>
#include <vector>

#include "framework/runtime/procedure_thread.h"
#include "host/module_library.h"

namespace slownik::host {

//! Starts entry points the way the module expects: each on a new procedure thread,
//! where its window runs its own event loop until the user closes it. Several may run
//! at once. Owned and called on the GUI thread.
class ProcedureLauncher : public QObject {
  Q_OBJECT
 public:
  explicit ProcedureLauncher(QObject* parent = nullptr);
  ~ProcedureLauncher() override;

  void start(const EntryPoint& entry);
  //! Procedures that have not returned yet.
  int runningCount() const;
  //! Waits until every procedure has returned (their windows must be closed first).
  void joinAll();

 signals:
  //! A procedure returned; `failure` is empty unless it ended by an error that escaped it.
  //! Delivered on the GUI thread.
  void finished(const QString& exportName, const QString& failure);

 private:
  struct Running {
    QString exportName;
    rt::ProcedureThread thread;
    std::shared_ptr<std::atomic<bool>> done;
  };
  void reapFinished();

  std::vector<Running> running_;
};

}  // namespace slownik::host
