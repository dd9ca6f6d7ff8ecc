#include "host/procedure_launcher.h"

#include <exception>

namespace slownik::host {

ProcedureLauncher::ProcedureLauncher(QObject* parent) : QObject(parent) {
  // Ended threads are joined on the GUI thread once their end has been announced.
  connect(this, &ProcedureLauncher::finished, this, &ProcedureLauncher::reapFinished, Qt::QueuedConnection);
}

ProcedureLauncher::~ProcedureLauncher() { joinAll(); }

void ProcedureLauncher::start(const EntryPoint& entry) {
  reapFinished();
  auto done = std::make_shared<std::atomic<bool>>(false);
  const QString name = entry.exportName;
  void (*run)() = entry.run;
  rt::ProcedureThread thread = rt::startProcedure([this, name, run, done] {
    QString failure;
    // The runtime keeps an escaping exception from ending the process; catching it here
    // as well lets the user be told which window failed and why.
    try {
      run();
    } catch (const std::exception& e) {
      failure = QString::fromUtf8(e.what());
    } catch (...) {
      failure = QStringLiteral("nieznany błąd");
    }
    done->store(true);
    emit finished(name, failure);
  });
  running_.push_back({name, std::move(thread), std::move(done)});
}

int ProcedureLauncher::runningCount() const {
  int n = 0;
  for (const Running& r : running_)
    if (!r.done->load()) ++n;
  return n;
}

void ProcedureLauncher::reapFinished() {
  for (auto it = running_.begin(); it != running_.end();) {
    if (it->done->load()) {
      it->thread.join();
      it = running_.erase(it);
    } else {
      ++it;
    }
  }
}

void ProcedureLauncher::joinAll() {
  for (Running& r : running_)
    if (r.thread.joinable()) r.thread.join();
  running_.clear();
}

}  // namespace slownik::host
