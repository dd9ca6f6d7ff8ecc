#include "framework/sql/collation.h"

#include <sqlite3.h>
#include <unicode/ucol.h>

#include <cstring>
#include <memory>

#include "framework/sql/table_def.h"

namespace slownik::sql {
namespace {

struct CollatorClose {
  void operator()(UCollator* c) const { ucol_close(c); }
};
using Collator = std::unique_ptr<UCollator, CollatorClose>;

// A collator of its own for each connection and thread: opening one is cheap (ICU keeps
// the tailoring's data cached), and nothing is then shared between threads.
Collator openCollator() {
  UErrorCode status = U_ZERO_ERROR;
  UCollator* c = ucol_open("pl", &status);
  if (U_FAILURE(status)) {
    ucol_close(c);
    return nullptr;
  }
  return Collator(c);
}

int byteOrder(const void* a, int na, const void* b, int nb) {
  int n = na < nb ? na : nb;
  int c = n > 0 ? std::memcmp(a, b, static_cast<std::size_t>(n)) : 0;
  if (c != 0) return c < 0 ? -1 : 1;
  return na == nb ? 0 : (na < nb ? -1 : 1);
}

// ICU decides; where it finds two different texts equal (canonically equivalent forms)
// their bytes decide, so that the order is total and equality stays byte equality.
int compareWith(const UCollator* collator, const void* a, int na, const void* b, int nb) {
  if (na == nb && (na == 0 || std::memcmp(a, b, static_cast<std::size_t>(na)) == 0)) return 0;
  UErrorCode status = U_ZERO_ERROR;
  UCollationResult r = ucol_strcollUTF8(collator, static_cast<const char*>(a), na, static_cast<const char*>(b), nb, &status);
  if (U_SUCCESS(status) && r != UCOL_EQUAL) return r == UCOL_LESS ? -1 : 1;
  return byteOrder(a, na, b, nb);
}

int sqliteCompare(void* collator, int na, const void* a, int nb, const void* b) {
  return compareWith(static_cast<const UCollator*>(collator), a, na, b, nb);
}

void sqliteRelease(void* collator) { ucol_close(static_cast<UCollator*>(collator)); }

}  // namespace

bool isCollated(const ColumnDef& column) { return column.type == ColumnType::Text || column.type == ColumnType::Memo; }

std::string collateClause() { return " COLLATE " + std::string(kCollationName); }

std::string prefixUpperBound(std::string_view prefix) { return std::string(prefix) + "\xEF\xBF\xBF"; }

int comparePolish(std::string_view a, std::string_view b) {
  thread_local Collator collator = openCollator();
  if (!collator) return byteOrder(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()));
  return compareWith(collator.get(), a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()));
}

bool registerSqliteCollation(sqlite3* db) {
  Collator collator = openCollator();
  if (!collator) return false;
  // Once registered, the connection owns the collator and closes it with itself; a
  // failed registration leaves it with us.
  if (sqlite3_create_collation_v2(db, std::string(kCollationName).c_str(), SQLITE_UTF8, collator.get(), sqliteCompare,
                                  sqliteRelease) != SQLITE_OK)
    return false;
  collator.release();
  return true;
}

}  // namespace slownik::sql
