#include "sms/name_check.h"

#include <cstdlib>

#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/error_state.h"
#include "framework/services/sql_services.h"
#include "framework/sql/text.h"

namespace slownik::sms {

bool checkName(engine::RecordForm& form, const NameRule& rule) {
  std::string name = form.text(rule.prefix + ":NAZWA");
  if (engine::trimmed(name).empty()) {
    form.warn("Proszę wprowadzić nazwę!");
    return false;
  }
  std::string company = sql::sqlId(data::field(rule.prefix + ":ID_FIRMY").number());
  std::string statement;
  if (form.request() == data::kInsertRecord) {
    statement =
        "select count(1) from " + rule.table + " where nazwa='" + sql::escape(name) + "' and id_firmy=" + company;
  } else {
    // Names are unique within a company. Comparing with every company's rows would
    // refuse to save again a row whose name another company happens to use, though it
    // was accepted when it was added.
    std::string id = sql::sqlId(data::field(rule.prefix + ":" + rule.idColumn).number());
    statement = "select count(1) from " + rule.table + " where  " + rule.idColumn + "<>" + id + " and nazwa='" +
                sql::escape(name) + "' and id_firmy=" + company;
  }
  std::string count = svc::FUNCSQL(statement);
  // A check that could not run must not let a duplicate through.
  if (rt::errorCode() != 0) {
    form.warn(rt::errorText());
    return false;
  }
  if (std::atoi(count.c_str()) > 0) {
    form.warn(rule.duplicateMessage);
    return false;
  }
  return true;
}

}  // namespace slownik::sms
