#include "framework/sql/postgres_database.h"

#include <libpq-fe.h>

#include <algorithm>
#include <cctype>
#include <vector>

#include "framework/sql/dialect.h"
#include "framework/sql/table_changes.h"
#include "framework/sql/text.h"

namespace slownik::sql {
namespace {

constexpr unsigned kByteaOid = 17;
constexpr std::size_t kPreparedStatements = 64;
// A prepared statement that the server no longer has, or whose plan no longer fits the
// tables (a column added or dropped under it): prepared afresh, it runs.
constexpr const char* kStatementGone = "26000";
constexpr const char* kPlanChanged = "0A000";

std::string_view firstWord(std::string_view sql) {
  std::size_t i = 0;
  while (i < sql.size() && std::isspace(static_cast<unsigned char>(sql[i]))) ++i;
  std::size_t j = i;
  while (j < sql.size() && (std::isalpha(static_cast<unsigned char>(sql[j])) || sql[j] == '_')) ++j;
  return sql.substr(i, j - i);
}

// Reads are what lists, lookups and checks send again and again with new values; they
// are the statements worth preparing once per connection.
bool isRead(std::string_view sql) { return equalsIgnoreCase(firstWord(sql), "SELECT"); }

// After a change of the schema a prepared read may no longer fit its tables.
bool changesSchema(std::string_view sql) {
  std::string_view word = firstWord(sql);
  return equalsIgnoreCase(word, "CREATE") || equalsIgnoreCase(word, "ALTER") || equalsIgnoreCase(word, "DROP");
}

std::string trimmed(const char* text) {
  std::string s = text ? text : "";
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.pop_back();
  return s;
}

// '?' placeholders outside literals become $1, $2, ...
std::string numberedPlaceholders(std::string_view sql) {
  std::string out;
  out.reserve(sql.size() + 8);
  bool inString = false;
  int n = 0;
  for (char c : sql) {
    if (c == '\'') inString = !inString;
    if (c == '?' && !inString) {
      out += '$' + std::to_string(++n);
    } else {
      out += c;
    }
  }
  return out;
}

std::string decodeBytea(const char* text) {
  std::size_t length = 0;
  unsigned char* raw = PQunescapeBytea(reinterpret_cast<const unsigned char*>(text), &length);
  if (!raw) return {};
  std::string bytes(reinterpret_cast<const char*>(raw), length);
  PQfreemem(raw);
  return bytes;
}

}  // namespace

std::string maskedUrl(std::string_view url) {
  std::string out(url);
  std::size_t scheme = out.find("://");
  if (scheme == std::string::npos) return out;  // any scheme: a mistyped one is shown in errors too
  const std::size_t hostStart = scheme + 3;
  const std::size_t hostEnd = std::min(out.find('/', hostStart), out.find('?', hostStart));
  const std::string_view authority =
      std::string_view(out).substr(hostStart, (hostEnd == std::string::npos ? out.size() : hostEnd) - hostStart);
  if (std::size_t at = authority.rfind('@'); at != std::string::npos) {
    if (std::size_t colon = authority.substr(0, at).find(':'); colon != std::string::npos)
      out.replace(hostStart + colon + 1, at - colon - 1, "***");
  }
  // A "password" parameter among the query's, in any letter case.
  for (std::size_t q = out.find('?'); q != std::string::npos; q = out.find('&', q + 1)) {
    std::size_t start = q + 1;
    std::string key = out.substr(start, 9);
    for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (key != "password=") continue;
    std::size_t valueStart = start + 9;
    std::size_t valueEnd = out.find('&', valueStart);
    out.replace(valueStart, (valueEnd == std::string::npos ? out.size() : valueEnd) - valueStart, "***");
  }
  return out;
}

std::unique_ptr<PostgresDatabase> PostgresDatabase::open(const std::string& url, const std::string& conninfo,
                                                         const std::string& schema, Status* status) {
  // The encoding goes with the start-up message, which saves the round trip of setting it.
  const char* keywords[] = {"dbname", "client_encoding", nullptr};
  const char* values[] = {conninfo.c_str(), "UTF8", nullptr};
  pg_conn* conn = PQconnectdbParams(keywords, values, 1);
  if (PQstatus(conn) != CONNECTION_OK) {
    if (status) *status = Status::failure("Brak połączenia z serwerem bazy danych: " + trimmed(PQerrorMessage(conn)));
    PQfinish(conn);
    return nullptr;
  }
  auto db = std::unique_ptr<PostgresDatabase>(new PostgresDatabase(url, conn, schema));
  Status s = db->prepareSession();
  if (status) *status = s;
  if (!s) return nullptr;
  return db;
}

PostgresDatabase::PostgresDatabase(std::string url, pg_conn* conn, std::string schema)
    : Database(std::move(url), Dialect::create(Backend::Postgres)), conn_(conn), schema_(std::move(schema)) {}

PostgresDatabase::~PostgresDatabase() { PQfinish(conn_); }

Status PostgresDatabase::prepareSession() {
  // Notices (such as "schema already exists") are not for the user.
  PQsetNoticeProcessor(conn_, [](void*, const char*) {}, nullptr);
  if (!schema_.empty()) {
    std::string ident = "\"";
    for (char c : schema_) ident += c == '"' ? std::string("\"\"") : std::string(1, c);
    ident += '"';
    // One round trip for both, and not booked as a change of any table.
    std::string script = "CREATE SCHEMA IF NOT EXISTS " + ident + "; SET search_path TO " + ident;
    PGresult* res = PQexec(conn_, script.c_str());
    bool done = PQresultStatus(res) == PGRES_COMMAND_OK;
    Status s = done ? Status{} : failure(res);
    PQclear(res);
    if (!s) return s;
  }
  return {};
}

bool PostgresDatabase::isConnected() const { return conn_ && PQstatus(conn_) == CONNECTION_OK; }

Status PostgresDatabase::ensureConnected() {
  if (isConnected()) return {};
  forgetTransactions();
  beginPending_ = false;
  // The server forgot this session's prepared statements with it.
  prepared_.clear();
  preparedIndex_.clear();
  PQreset(conn_);
  if (PQstatus(conn_) != CONNECTION_OK)
    return Status::failure("Brak połączenia z serwerem bazy danych: " + trimmed(PQerrorMessage(conn_)));
  return prepareSession();
}

Status PostgresDatabase::failure(pg_result* res) {
  std::string message = trimmed(res ? PQresultErrorMessage(res) : PQerrorMessage(conn_));
  if (message.empty()) message = trimmed(PQerrorMessage(conn_));
  if (PQstatus(conn_) != CONNECTION_OK) {
    forgetTransactions();
    beginPending_ = false;
    return Status::failure("Utracono połączenie z serwerem bazy danych: " + message);
  }
  // A unique violation carries the same code on both backends, so that callers can tell
  // it from other refusals.
  const char* state = res ? PQresultErrorField(res, PG_DIAG_SQLSTATE) : nullptr;
  if (state && std::string_view(state) == "23505") return Status::failure(message, Status::kUniqueViolation);
  return Status::failure(message);
}

PGresult* PostgresDatabase::runStatement(const std::string& sql, int count, const char* const* values,
                                         const int* lengths, const int* formats) {
  const bool read = isRead(sql);
  const bool withBegin = beginPending_;
  beginPending_ = false;
  // The end of a transaction in which nothing ran: the server never heard of it.
  if (withBegin && (equalsIgnoreCase(sql, "COMMIT") || equalsIgnoreCase(sql, "ROLLBACK")))
    return PQmakeEmptyPGresult(conn_, PGRES_COMMAND_OK);
  auto known = read ? preparedIndex_.find(sql) : preparedIndex_.end();
  if (known != preparedIndex_.end()) prepared_.splice(prepared_.begin(), prepared_, known->second);
  const bool prepare = read && known == preparedIndex_.end();
  const std::string text = count ? numberedPlaceholders(sql) : sql;
  if (!withBegin && !prepare) {
    if (known != preparedIndex_.end())
      return PQexecPrepared(conn_, known->second->second.c_str(), count, values, lengths, formats, 0);
    return PQexecParams(conn_, text.c_str(), count, nullptr, values, lengths, formats, 0);
  }
  // What the statement needs first — the BEGIN of its transaction, its prepare (and the
  // release of the prepared statement that makes room for it) — goes to the server
  // together with it, in one round trip.
  std::string name = known != preparedIndex_.end() ? known->second->second : std::string();
  std::string evicted;
  if (prepare) {
    name = "slownik_" + std::to_string(++preparedCount_);
    if (prepared_.size() >= kPreparedStatements) evicted = prepared_.back().second;
  }
  if (PQenterPipelineMode(conn_) != 1) return nullptr;
  bool sent = true;
  auto simple = [&](const std::string& command) {
    sent = sent && PQsendQueryParams(conn_, command.c_str(), 0, nullptr, nullptr, nullptr, nullptr, 0) == 1;
  };
  if (withBegin) simple("BEGIN");
  if (!evicted.empty()) simple("DEALLOCATE " + evicted);
  if (prepare) sent = sent && PQsendPrepare(conn_, name.c_str(), text.c_str(), 0, nullptr) == 1;
  if (!name.empty())
    sent = sent && PQsendQueryPrepared(conn_, name.c_str(), count, values, lengths, formats, 0) == 1;
  else
    sent = sent && PQsendQueryParams(conn_, text.c_str(), count, nullptr, values, lengths, formats, 0) == 1;
  sent = sent && PQpipelineSync(conn_) == 1;
  // Results come per statement, each followed by a null, and the sync ends them. Two
  // nulls in a row mean that nothing more will come (the connection failed).
  std::vector<PGresult*> results;
  bool synced = false;
  int nulls = 0;
  while (sent && nulls < 2) {
    PGresult* r = PQgetResult(conn_);
    if (!r) {
      ++nulls;
      continue;
    }
    nulls = 0;
    if (PQresultStatus(r) == PGRES_PIPELINE_SYNC) {
      PQclear(r);
      synced = true;
      break;
    }
    results.push_back(r);
  }
  auto clearAll = [&] {
    for (PGresult* r : results) PQclear(r);
    results.clear();
  };
  if (PQexitPipelineMode(conn_) != 1) {
    // Something is still pending on the connection: start it afresh rather than leave
    // it half in a pipeline.
    clearAll();
    forgetTransactions();
    prepared_.clear();
    preparedIndex_.clear();
    PQreset(conn_);
    if (isConnected()) prepareSession();
    return nullptr;
  }
  const std::size_t expected = (withBegin ? 1 : 0) + (evicted.empty() ? 0 : 1) + (prepare ? 1 : 0) + 1;
  if (!synced || results.size() != expected) {
    clearAll();
    return nullptr;
  }
  if (!evicted.empty()) {
    // Whatever the server said, the statement is no longer ours to use.
    preparedIndex_.erase(prepared_.back().first);
    prepared_.pop_back();
  }
  // The first step that failed says what is wrong; the steps after it were only skipped.
  std::size_t at = 0;
  PGresult* answer = results.back();
  if (withBegin) {
    if (PQresultStatus(results[at]) != PGRES_COMMAND_OK) answer = results[at];
    ++at;
  }
  if (!evicted.empty()) ++at;
  bool prepared = false;
  if (prepare) {
    prepared = PQresultStatus(results[at]) == PGRES_COMMAND_OK;
    if (!prepared && answer == results.back()) answer = results[at];
  }
  for (PGresult* r : results)
    if (r != answer) PQclear(r);
  if (prepared) {
    prepared_.emplace_front(sql, name);
    preparedIndex_[sql] = prepared_.begin();
  }
  return answer;
}

void PostgresDatabase::forgetAllPrepared() {
  if (prepared_.empty()) return;
  PQclear(PQexec(conn_, "DEALLOCATE ALL"));
  prepared_.clear();
  preparedIndex_.clear();
}

void PostgresDatabase::forgetPrepared(const std::string& sql) {
  auto it = preparedIndex_.find(sql);
  if (it == preparedIndex_.end()) return;
  PQclear(PQexec(conn_, ("DEALLOCATE " + it->second->second).c_str()));
  prepared_.erase(it->second);
  preparedIndex_.erase(it);
}

Status PostgresDatabase::execute(std::string_view sql, std::span<const Param> params, Result* out) {
  if (Status s = ensureConnected(); !s) return s;
  std::vector<std::string> storage(params.size());
  std::vector<const char*> values(params.size(), nullptr);
  std::vector<int> lengths(params.size(), 0);
  std::vector<int> formats(params.size(), 0);
  for (std::size_t i = 0; i < params.size(); ++i) {
    const Param& p = params[i];
    if (std::holds_alternative<std::monostate>(p)) continue;
    if (auto v = std::get_if<long long>(&p))
      storage[i] = std::to_string(*v);
    else if (auto d = std::get_if<double>(&p))
      storage[i] = sqlNumber(*d);
    else if (auto s = std::get_if<std::string>(&p))
      storage[i] = *s;
    else if (auto b = std::get_if<Blob>(&p)) {
      storage[i] = b->bytes;
      formats[i] = 1;
    }
    values[i] = storage[i].data();
    lengths[i] = static_cast<int>(storage[i].size());
  }
  int count = static_cast<int>(params.size());
  std::string key(sql);
  if (changesSchema(key)) forgetAllPrepared();
  auto run = [&]() -> PGresult* { return runStatement(key, count, values.data(), lengths.data(), formats.data()); };
  auto ok = [](PGresult* r) {
    ExecStatusType st = PQresultStatus(r);
    return st == PGRES_COMMAND_OK || st == PGRES_TUPLES_OK;
  };
  PGresult* res = run();
  if (!ok(res) && PQstatus(conn_) == CONNECTION_OK) {
    const char* state = PQresultErrorField(res, PG_DIAG_SQLSTATE);
    bool stale = state && (std::string_view(state) == kStatementGone || std::string_view(state) == kPlanChanged);
    if (stale) {
      forgetPrepared(key);
      // Inside a transaction the failure has already aborted it: report it as it is.
      if (transactionDepth() == 0) {
        PQclear(res);
        res = run();
      }
    }
  }
  if (!ok(res)) {
    Status s = failure(res);
    PQclear(res);
    return s;
  }
  if (out) {
    *out = Result{};
    int columns = PQnfields(res);
    int rows = PQntuples(res);
    for (int c = 0; c < columns; ++c) out->columns.emplace_back(PQfname(res, c));
    out->rows.reserve(static_cast<std::size_t>(rows));
    for (int r = 0; r < rows; ++r) {
      std::vector<Cell> row;
      row.reserve(static_cast<std::size_t>(columns));
      for (int c = 0; c < columns; ++c) {
        if (PQgetisnull(res, r, c))
          row.emplace_back(std::nullopt);
        else if (PQftype(res, c) == kByteaOid)
          row.emplace_back(decodeBytea(PQgetvalue(res, r, c)));
        else
          row.emplace_back(std::string(PQgetvalue(res, r, c), static_cast<std::size_t>(PQgetlength(res, r, c))));
      }
      out->rows.push_back(std::move(row));
    }
    const char* affected = PQcmdTuples(res);
    out->affectedRows = affected && *affected ? std::stoll(affected) : 0;
  }
  PQclear(res);
  noteStatement(key);
  return {};
}

Status PostgresDatabase::executeScript(std::string_view sql) {
  if (Status s = ensureConnected(); !s) return s;
  // A transaction begun but not yet sent starts with the script.
  std::string text = beginPending_ ? "BEGIN;\n" + std::string(sql) : std::string(sql);
  beginPending_ = false;
  noteUnknownChange();
  forgetAllPrepared();  // a script is DDL as a rule
  PGresult* res = PQexec(conn_, text.c_str());
  ExecStatusType st = PQresultStatus(res);
  Status s = (st == PGRES_COMMAND_OK || st == PGRES_TUPLES_OK) ? Status{} : Status::failure(trimmed(PQresultErrorMessage(res)));
  PQclear(res);
  return s;
}

long long PostgresDatabase::lastInsertId() {
  Result r;
  if (!execute("SELECT lastval()", &r)) return 0;
  std::string v = r.scalar();
  return v.empty() ? 0 : std::stoll(v);
}

// The BEGIN waits for the transaction's first statement and goes to the server with it:
// a transaction costs no round trip of its own to start, and none at all when nothing
// ran in it.
Status PostgresDatabase::beginOutermost(TransactionMode) {
  beginPending_ = true;
  return {};
}



}  // namespace slownik::sql
