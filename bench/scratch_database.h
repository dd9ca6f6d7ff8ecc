#pragma once
// A database of a benchmark's own for one run, removed when the run ends however it ends:
// a SQLite file in the temporary folder, or a schema of the PostgreSQL test server
// (SLOWNIK_TEST_PG_URL, set by scripts/with_postgres.sh).
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "framework/sql/database.h"
#include "framework/sql/thread_database.h"

namespace slownik::bench {

class ScratchDatabase {
 public:
  //! `name` tells this benchmark's file or schema apart ("employee_bench"); the process id
  //! is added, so that two runs at once never meet.
  ScratchDatabase(bool postgres, const std::string& name) {
    const std::string unique = name + "_" + std::to_string(getpid());
    if (postgres) {
      const char* base = std::getenv("SLOWNIK_TEST_PG_URL");
      server_ = base ? base : "";
      schema_ = unique;
      url_ = server_ + (server_.find('?') == std::string::npos ? "?" : "&") + "schema=" + schema_;
    } else {
      path_ = (std::filesystem::temp_directory_path() / (unique + ".db")).string();
      removeFiles();
      url_ = "sqlite://" + path_;
    }
  }
  ~ScratchDatabase() {
    if (threadOpened_) sql::closeThreadDatabase();
    if (isPostgres()) {
      sql::Status status;
      if (auto db = sql::openDatabase(server_, &status)) db->execute("DROP SCHEMA IF EXISTS \"" + schema_ + "\" CASCADE");
    } else {
      removeFiles();
    }
  }
  ScratchDatabase(const ScratchDatabase&) = delete;
  ScratchDatabase& operator=(const ScratchDatabase&) = delete;

  //! Points the calling thread's database at it and answers that connection.
  sql::Database* threadDatabase(sql::Status* status) {
    sql::setDatabaseUrl(url_);
    threadOpened_ = true;
    return sql::threadDatabase(status);
  }

  const std::string& url() const { return url_; }
  bool isPostgres() const { return !schema_.empty(); }
  const std::string& schema() const { return schema_; }
  const std::string& sqlitePath() const { return path_; }

 private:
  void removeFiles() const {
    std::error_code ignored;  // a file that is not there is what is wanted
    for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path_ + suffix, ignored);
  }

  std::string url_, server_, schema_, path_;
  bool threadOpened_ = false;
};

}  // namespace slownik::bench
