#include "framework/services/edocuments.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "framework/data/globals.h"
#include "framework/runtime/date_time.h"
#include "framework/runtime/error_state.h"
#include "framework/services/procedure_registry.h"
#include "framework/services/service_database.h"
#include "framework/sql/text.h"

namespace slownik::svc {
namespace {

namespace fs = std::filesystem;

// The list that shows a kind's attachment count, and its id column.
struct CountTable {
  const char* table;
  const char* idColumn;
};
std::optional<CountTable> countTableOf(std::string_view kind) {
  if (kind == kEdocumentCompany) return CountTable{"FIRMA_ZALACZNIK", "ID_FIRMY"};
  if (kind == kEdocumentEmployee) return CountTable{"PRACOWNIK_ZALACZNIK", "ID_PRACOWNIKA"};
  return std::nullopt;
}

// Sets the record's count to what EDOKUMENT holds, in the caller's transaction.
sql::Status refreshCount(sql::Database& db, std::string_view kind, double recordId) {
  auto count = countTableOf(kind);
  if (!count) return {};
  const std::string t = count->table;
  const std::string id = count->idColumn;
  sql::Param key[] = {idParam(recordId), static_cast<long long>(kEdocumentProgram)};
  if (auto s = db.execute("DELETE FROM " + t + " WHERE " + id + " = ? AND PRGKOD = ?", key, nullptr); !s) return s;
  sql::Param row[] = {idParam(recordId), static_cast<long long>(kEdocumentProgram), std::string(kind), idParam(recordId)};
  return db.execute("INSERT INTO " + t + " (" + id + ", PRGKOD, LICZBA_ZALACZNIKOW) SELECT ?, ?, COUNT(*) FROM EDOKUMENT "
                    "WHERE RODZAJ = ? AND ID_REKORDU = ?",
                    row, nullptr);
}

// A stored name is a file name only: no folder of the machine it came from.
std::string plainName(std::string name) {
  for (char& c : name)
    if (c == '/' || c == '\\' || c == ':') c = '_';
  if (name.empty() || name == "." || name == "..") name = "plik";
  return name;
}

bool readBytes(double id, std::string* name, std::string* bytes, std::string* error) {
  sql::Result r;
  if (!serviceExecute("SELECT NAZWA_PLIKU, TRESC FROM EDOKUMENT WHERE ID_EDOKUMENTU = ?", {idParam(id)}, &r)) {
    *error = rt::errorText();
    return false;
  }
  if (r.empty()) {
    *error = "Dokument został usunięty przez innego użytkownika.";
    return false;
  }
  if (name) *name = plainName(r.text(0, 0));
  *bytes = r.text(0, 1);
  return true;
}

bool writeFile(const std::string& path, const std::string& bytes, std::string* error) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (out) out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) {
    *error = "Nie można zapisać pliku " + path + ".";
    return false;
  }
  return true;
}

}  // namespace

void EDOKVIEW(std::string_view kind, double recordId) {
  callProcedure(kEdocumentViewerProcedure, {std::string(kind), sql::sqlId(recordId)},
                [](const ProcedureArgs& args) { edocumentsWindow(args[0], std::atof(args[1].c_str())); });
}

std::optional<std::vector<Edocument>> edocuments(std::string_view kind, double recordId) {
  sql::Result r;
  if (!serviceExecute("SELECT ID_EDOKUMENTU, NAZWA_PLIKU, ROZMIAR, DATA_DODANIA FROM EDOKUMENT "
                      "WHERE RODZAJ = ? AND ID_REKORDU = ? ORDER BY NAZWA_PLIKU, ID_EDOKUMENTU",
                      {std::string(kind), idParam(recordId)}, &r))
    return std::nullopt;
  std::vector<Edocument> out;
  for (std::size_t i = 0; i < r.size(); ++i)
    out.push_back({std::atof(r.text(i, 0).c_str()), r.text(i, 1), std::atoll(r.text(i, 2).c_str()),
                   std::atol(r.text(i, 3).c_str())});
  return out;
}

double addEdocument(std::string_view kind, double recordId, const std::string& path, std::string* error) {
  std::error_code ec;
  auto size = fs::file_size(path, ec);
  if (ec || !fs::is_regular_file(path, ec)) {
    *error = "Nie można odczytać pliku " + path + ".";
    return 0;
  }
  if (static_cast<long long>(size) > kEdocumentMaxBytes) {
    *error = "Plik " + path + " jest za duży (największy dołączany plik ma " +
             std::to_string(kEdocumentMaxBytes / (1024 * 1024)) + " MB).";
    return 0;
  }
  std::ifstream in(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in && !in.eof()) {
    *error = "Nie można odczytać pliku " + path + ".";
    return 0;
  }
  const std::string name = sql::truncateUtf8(plainName(fs::path(path).filename().string()), 255);
  double id = 0;
  sql::Status s = serviceTransaction([&](sql::Database& db) -> sql::Status {
    sql::Result next;
    if (auto st = db.execute("SELECT COALESCE(MAX(ID_EDOKUMENTU), 0) + 1 FROM EDOKUMENT", {}, &next); !st) return st;
    id = std::atof(next.scalar().c_str());
    sql::Param row[] = {idParam(id),
                        std::string(kind),
                        idParam(recordId),
                        name,
                        static_cast<long long>(bytes.size()),
                        static_cast<long long>(rt::today()),
                        idParam(data::glo().ID_UZYTKOWNIKA.get()),
                        sql::Blob{bytes}};
    if (auto st = db.execute("INSERT INTO EDOKUMENT (ID_EDOKUMENTU, RODZAJ, ID_REKORDU, NAZWA_PLIKU, ROZMIAR, "
                             "DATA_DODANIA, ID_UZYTKOWNIKA, TRESC) VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
                             row, nullptr);
        !st)
      return st;
    return refreshCount(db, kind, recordId);
  });
  if (!s) {
    *error = rt::errorText();
    return 0;
  }
  return id;
}

bool saveEdocumentAs(double id, const std::string& path, std::string* error) {
  std::string bytes;
  return readBytes(id, nullptr, &bytes, error) && writeFile(path, bytes, error);
}

static fs::path temporaryFolder() {
  std::error_code ec;
  fs::path base = fs::temp_directory_path(ec);
  return base / ("slownik-edokumenty-" + std::to_string(getpid()));
}

void removeEdocumentTemporaryFiles() {
  std::error_code ec;
  fs::remove_all(temporaryFolder(), ec);
}

std::string edocumentTemporaryFile(double id, std::string* error) {
  std::string name, bytes;
  if (!readBytes(id, &name, &bytes, error)) return {};
  // One folder per document, so two documents of the same name don't overwrite each other.
  std::error_code ec;
  fs::path dir = temporaryFolder() / sql::sqlId(id);
  fs::create_directories(dir, ec);
  if (ec) {
    *error = "Nie można utworzyć folderu tymczasowego " + dir.string() + ".";
    return {};
  }
  std::string path = (dir / name).string();
  return writeFile(path, bytes, error) ? path : std::string();
}

bool deleteEdocument(std::string_view kind, double recordId, double id, std::string* error) {
  sql::Status s = serviceTransaction([&](sql::Database& db) -> sql::Status {
    sql::Param key[] = {idParam(id), std::string(kind), idParam(recordId)};
    if (auto st = db.execute("DELETE FROM EDOKUMENT WHERE ID_EDOKUMENTU = ? AND RODZAJ = ? AND ID_REKORDU = ?", key,
                             nullptr);
        !st)
      return st;
    return refreshCount(db, kind, recordId);
  });
  if (!s) *error = rt::errorText();
  return static_cast<bool>(s);
}

}  // namespace slownik::svc
