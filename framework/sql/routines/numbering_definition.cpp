// RM_DodajDefinicjeNumeracji(company, type, signature, document family, receipt flag):
// creates the numbering definition of a newly added document type, e.g.
// "call RM_DodajDefinicjeNumeracji(1,12,'PZD',1,1)" for a warehouse receipt type.
#include "framework/sql/routines/numbering_definition.h"

#include "framework/sql/routines/routine_args.h"
#include "framework/sql/routines/routine_families.h"
#include "framework/sql/text.h"

namespace slownik::sql {
namespace {

// Width of NUMERACJA.SYGNATURA (framework_tables.cpp).
constexpr std::size_t kSignatureWidth = 5;

Status addNumberingDefinition(Database& db, const std::vector<Cell>& argv, Result*) {
  RoutineArgs args("RM_DodajDefinicjeNumeracji", argv);
  if (Status s = args.require(5); !s) return s;
  long long company = 0, type = 0, family = 0, receipt = 0;
  if (Status s = args.integer(0, &company); !s) return s;
  if (Status s = args.integer(1, &type); !s) return s;
  if (Status s = args.integer(3, &family); !s) return s;
  if (Status s = args.integer(4, &receipt); !s) return s;
  if (company <= 0 || type <= 0) return args.failure("nie podano firmy albo typu dokumentu");
  if (family <= 0) return args.failure("nieznany rodzaj dokumentów: " + std::to_string(family));
  std::string signature = args.trimmedText(2);
  if (signature.empty()) return args.failure("nie podano sygnatury typu dokumentu");
  if (utf8Length(signature) > kSignatureWidth)
    return args.failure("sygnatura \"" + signature + "\" jest dłuższa niż " + std::to_string(kSignatureWidth) +
                        " znaków");

  // A type that has its definition keeps it: its counters must never start again.
  Result existing;
  if (Status s = db.execute("SELECT COUNT(*) FROM NUMERACJA WHERE ID_FIRMY = ? AND ID_MAGAZYNU = 0 AND DOKUMENT = ? "
                            "AND TYP_DOKUMENTU = ? AND ROK = 0",
                            std::vector<Param>{company, family, type}, &existing);
      !s)
    return s;
  if (existing.scalar() != "0") return {};
  return db.execute(
      "INSERT INTO NUMERACJA (ID_FIRMY, ID_MAGAZYNU, DOKUMENT, TYP_DOKUMENTU, ROK, SYGNATURA, FORMAT, NUMER, PRZYCHOD) "
      "VALUES (?, 0, ?, ?, 0, ?, ?, 0, ?)",
      std::vector<Param>{company, family, type, signature, std::string(kDefaultNumberFormat),
                         static_cast<long long>(receipt != 0 ? 1 : 0)},
      nullptr);
}

}  // namespace

void registerNumberingRoutines(RoutineRegistry& registry) {
  registry.add("RM_DodajDefinicjeNumeracji", addNumberingDefinition);
}

}  // namespace slownik::sql
