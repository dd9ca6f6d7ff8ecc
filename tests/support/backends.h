#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/sql/database.h"

namespace slownik::test {

//! A database every test case gets fresh: a temporary SQLite file, or a schema of
//! its own on the throw-away PostgreSQL server that `make test` starts.
struct BackendCase {
  std::string name;  //!< "sqlite" or "postgresql"
};

std::vector<BackendCase> allBackends();
std::string backendName(const testing::TestParamInfo<BackendCase>& info);

//! Fixture of every database test: SetUp() makes a fresh database at the latest
//! migration, points the process at it (sql::setDatabaseUrl) and opens this
//! thread's connection; TearDown() closes and removes it. PostgreSQL cases are
//! skipped with a clear reason when no server was given (SLOWNIK_TEST_PG_URL).
class DatabaseTest : public testing::TestWithParam<BackendCase> {
 protected:
  void SetUp() override;
  void TearDown() override;

  sql::Database& db() { return *db_; }
  const std::string& url() const { return url_; }
  bool isPostgres() const { return GetParam().name == "postgresql"; }
  //! Opens another connection to the same database (a second user, another thread).
  std::unique_ptr<sql::Database> openAnother();
  //! Runs backend SQL and fails the test with the database's text if it fails.
  void exec(const std::string& sql);
  std::string scalar(const std::string& sql);

  //! false: the fresh database stays empty (no migration run).
  virtual bool wantsSchema() const { return true; }

 private:
  std::string url_;
  std::string sqliteFile_;
  std::string pgSchema_;
  sql::Database* db_ = nullptr;
};

#define SLOWNIK_ON_ALL_BACKENDS(Fixture) \
  INSTANTIATE_TEST_SUITE_P(Backends, Fixture, testing::ValuesIn(slownik::test::allBackends()), slownik::test::backendName)

//! The source tree (for resources and fixtures).
std::string sourceDir();

}  // namespace slownik::test
