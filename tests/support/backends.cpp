#include "support/backends.h"

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "framework/sql/schema.h"
#include "framework/sql/thread_database.h"

namespace slownik::test {
namespace {

std::atomic<int> counter{0};

std::string pgBaseUrl() {
  const char* url = std::getenv("SLOWNIK_TEST_PG_URL");
  return url ? url : "";
}

}  // namespace

std::vector<BackendCase> allBackends() { return {{"sqlite"}, {"postgresql"}}; }

std::string backendName(const testing::TestParamInfo<BackendCase>& info) { return info.param.name; }

std::string sourceDir() {
  const char* dir = std::getenv("SLOWNIK_SOURCE_DIR");
  return dir ? dir : SLOWNIK_SOURCE_ROOT;
}

void DatabaseTest::SetUp() {
  int n = counter.fetch_add(1);
  if (GetParam().name == "sqlite") {
    auto dir = std::filesystem::temp_directory_path();
    sqliteFile_ = (dir / ("slownik_test_" + std::to_string(getpid()) + "_" + std::to_string(n) + ".db")).string();
    std::filesystem::remove(sqliteFile_);
    url_ = "sqlite://" + sqliteFile_;
  } else {
    std::string base = pgBaseUrl();
    if (base.empty()) GTEST_SKIP() << "PostgreSQL: brak serwera testowego (SLOWNIK_TEST_PG_URL); uruchom przez `make test`";
    pgSchema_ = "t_" + std::to_string(getpid()) + "_" + std::to_string(n);
    url_ = base + (base.find('?') == std::string::npos ? "?" : "&") + "schema=" + pgSchema_;
  }
  sql::setDatabaseUrl(url_);
  sql::Status status;
  db_ = sql::threadDatabase(&status);
  ASSERT_NE(db_, nullptr) << status.message();
  if (wantsSchema()) {
    sql::Status migrated = sql::migrate(*db_);
    ASSERT_TRUE(migrated.isOk()) << migrated.message();
  }
}

void DatabaseTest::TearDown() {
  if (db_ && !pgSchema_.empty()) db_->execute("DROP SCHEMA IF EXISTS \"" + pgSchema_ + "\" CASCADE");
  sql::closeThreadDatabase();
  db_ = nullptr;
  if (!sqliteFile_.empty()) {
    for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(sqliteFile_ + suffix);
  }
}

std::unique_ptr<sql::Database> DatabaseTest::openAnother() {
  sql::Status status;
  auto other = sql::openDatabase(url_, &status);
  EXPECT_NE(other, nullptr) << status.message();
  return other;
}

void DatabaseTest::exec(const std::string& sql) {
  sql::Status s = db_->execute(sql);
  ASSERT_TRUE(s.isOk()) << sql << "\n" << s.message();
}

std::string DatabaseTest::scalar(const std::string& sql) {
  sql::Result r;
  sql::Status s = db_->execute(sql, &r);
  EXPECT_TRUE(s.isOk()) << sql << "\n" << s.message();
  return r.scalar();
}

}  // namespace slownik::test
