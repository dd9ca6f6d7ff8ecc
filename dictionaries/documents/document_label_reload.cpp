#include "dictionaries/documents/document_label_reload.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <utility>

#include "framework/data/globals.h"
#include "framework/services/service_database.h"

namespace slownik::documents {
namespace {

std::atomic<long> reloads{0};
// Labels changed by another program are read again after this long.
constexpr std::chrono::seconds kFresh{60};

struct KeptLabels {
  std::mutex mutex;
  bool fresh = false;
  long long company = 0;
  std::chrono::steady_clock::time_point readAt;
  std::vector<ProgramLabel> labels;  // by name
};

KeptLabels& keptLabels() {
  static auto* kept = new KeptLabels();  // threads may outlive main()
  return *kept;
}

long long currentCompany() { return static_cast<long long>(data::glo().ID_FIRMY.get()); }

std::string clipRight(std::string text) {
  std::size_t end = text.find_last_not_of(' ');
  text.erase(end == std::string::npos ? 0 : end + 1);
  return text;
}

// Reads the company's labels; on a failure the labels kept before stay, marked stale.
void load(long long company) {
  sql::Result rows;
  sql::Status read = svc::serviceExecute(
      "SELECT ID_ETYKIETY, NAZWA, KOLOR_NAPISU, KOLOR_TLA, DOKUMENT FROM ETYKIETA_DOKUMENTU WHERE ID_FIRMY = ? "
      "ORDER BY NAZWA, ID_ETYKIETY",
      {company}, &rows);
  KeptLabels& kept = keptLabels();
  if (!read) {
    std::lock_guard lock(kept.mutex);
    kept.fresh = false;
    return;
  }
  std::vector<ProgramLabel> labels;
  for (std::size_t r = 0; r < rows.rows.size(); ++r) {
    ProgramLabel l;
    l.id = std::atoll(rows.text(r, 0).c_str());
    l.name = clipRight(rows.text(r, 1));
    l.textColour = rows.rows[r][2] ? std::atol(rows.text(r, 2).c_str()) : -1;
    l.backColour = rows.rows[r][3] ? std::atol(rows.text(r, 3).c_str()) : -1;
    l.available = decodeLabelAvailability(rows.text(r, 4));
    labels.push_back(std::move(l));
  }
  std::lock_guard lock(kept.mutex);
  kept.labels = std::move(labels);
  kept.company = company;
  kept.readAt = std::chrono::steady_clock::now();
  kept.fresh = true;
}

std::vector<ProgramLabel> current() {
  const long long company = currentCompany();
  KeptLabels& kept = keptLabels();
  bool fresh = false;
  {
    std::lock_guard lock(kept.mutex);
    fresh = kept.fresh && kept.company == company && std::chrono::steady_clock::now() - kept.readAt < kFresh;
  }
  if (!fresh) load(company);
  std::lock_guard lock(kept.mutex);
  return kept.company == company ? kept.labels : std::vector<ProgramLabel>{};
}

}  // namespace

void reloadProgramLabels() {
  reloads.fetch_add(1, std::memory_order_acq_rel);
  load(currentCompany());
}

long programLabelReloads() { return reloads.load(std::memory_order_acquire); }

std::vector<ProgramLabel> programLabels(int position) {
  std::vector<ProgramLabel> all = current();
  if (position < 1 || position > kLabelPositions) return all;
  std::vector<ProgramLabel> offered;
  for (auto& l : all)
    if (l.available[static_cast<std::size_t>(position - 1)]) offered.push_back(std::move(l));
  return offered;
}

std::optional<ProgramLabel> programLabel(long long id) {
  for (auto& l : current())
    if (l.id == id) return l;
  return std::nullopt;
}

}  // namespace slownik::documents
