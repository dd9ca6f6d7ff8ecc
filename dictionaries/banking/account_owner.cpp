#include "dictionaries/banking/account_owner.h"

#include "framework/sql/text.h"

namespace slownik::banking {
namespace {

using sql::sqlId;

std::string lower(const std::string& name) { return sql::toLowerAscii(name); }

}  // namespace

const AccountOwner& accountOwner(OwnerKind kind) {
  static const AccountOwner owners[] = {
      AccountOwner{OwnerKind::Company, "RACHUNEK_FIRMY", "RACHFIR", "ID_FIRMY",
                   "RACHFIR:AK_RACHUNEKFIRMY_IDFI_RACHUNEK", "FIRMA", "FIR", "RACHFIR", "Rachunki bankowe firmy",
                   "vex_fir.htm", "Rachunki_Firmy_Brw", "Rachunek_Firmy_Upd", 32, 31, true},
      AccountOwner{OwnerKind::Contractor, "RACHUNEK_KONTRAHENTA", "RACHKON", "ID_KONTRAHENTA",
                   "RACHKON:AK_RACHKONTR_IDKONTR__RACHUNEK", "KONTRAHENT", "KON", "RACHKONTR",
                   "Rachunki bankowe kontrahenta", "kar_kon.htm", "Rachunki_Kontrahenta_Brw",
                   "Rachunek_Kontrahenta_Upd", 28, 27, true, "BIALA_LISTA_RACHKON", "BLKON"},
      AccountOwner{OwnerKind::Employee, "RACHUNEK_PRACOWNIKA", "RACHPRAC", "ID_PRACOWNIKA",
                   "RACHPRAC:AK_RACHPRAC_IDPRAC_NR_RACHUNEK", "PRACOWNIK", "PRA", "RACHPRAC",
                   "Rachunki bankowe pracownika", "kar_prac.htm", "Rachunek_Pracownika", "Rachunek_Pracownika_Upd", 26,
                   18, false},
      AccountOwner{OwnerKind::TaxOffice, "RACHUNEK_URZEDU", "RACHURZ", "ID_URZEDU",
                   "RACHURZ:AK_RACHURZ_IDURZ_NUME_RACHUNEK", "URZEDY", "URZ", "RACHURZ", "Rachunki bankowe urzędu",
                   "kar_urz.htm", "Rachunki_Urzedu_Brw", "Rachunek_Urzedu_Upd", 23, 22, true, "BIALA_LISTA_RACHURZ",
                   "BLURZ"},
  };
  return owners[static_cast<int>(kind)];
}

std::string AccountOwner::ownerPrimaryKey() const { return ownerPrefix + ":PK_" + ownerTable; }

std::string AccountOwner::activityQuery(double account) const {
  return "select aktywny from " + lower(table) + " where id_rachunku=" + sqlId(account);
}

std::string AccountOwner::activationStatement(double account) const {
  return "update " + lower(table) + " set aktywny=1 where id_rachunku=" + sqlId(account);
}

std::string AccountOwner::setDefaultStatement(double account, double owner) const {
  return "update " + lower(ownerTable) + " set id_rachunku=" + sqlId(account) + " where " + lower(ownerColumn) + "=" +
         sqlId(owner);
}

std::string AccountOwner::clearDefaultStatement(double owner) const {
  return "update " + lower(ownerTable) + " set id_rachunku=null where " + lower(ownerColumn) + "=" + sqlId(owner);
}

std::string AccountOwner::duplicateQuery(double account, double owner, double company,
                                         const std::string& number) const {
  const std::string id = sqlId(account);
  const std::string quoted = sql::quote(number);
  switch (kind) {
    case OwnerKind::Company:
      return "select 1 from rachunek_firmy where ID_FIRMY=" + sqlId(company) + " and ID_RACHUNKU<>" + id +
             " and NUMER_RACHUNKU=" + quoted;
    case OwnerKind::Contractor:
      return "select 1 from rachunek_kontrahenta r ,kontrahent k  where r.id_kontrahenta=k.id_kontrahenta and "
             "k.id_firmy=" +
             sqlId(company) + " and k.id_kontrahenta=" + sqlId(owner) + " and r.ID_RACHUNKU<>" + id +
             " and r.NUMER_RACHUNKU=" + quoted;
    case OwnerKind::Employee:
      return "select 1 from rachunek_pracownika where ID_PRACOWNIKA=" + sqlId(owner) + " and ID_RACHUNKU<>" + id +
             " and  NUMER_RACHUNKU=" + quoted;
    case OwnerKind::TaxOffice:
      return "select 1 from rachunek_urzedu where ID_RACHUNKU<>" + id + " and ID_URZEDU=" + sqlId(owner) +
             " and  NUMER_RACHUNKU=" + quoted;
  }
  return {};
}

}  // namespace slownik::banking
