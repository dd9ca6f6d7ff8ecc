#include "slownik/entry_points.h"

#include <cstdint>
#include <iterator>
#include <string>

#include "dictionaries/banking/account_procedures.h"
#include "dictionaries/banking/bank_list.h"
#include "dictionaries/banking/cash_desk_list.h"
#include "dictionaries/banking/interest_list.h"
#include "dictionaries/banking/kir_import_entry.h"
#include "dictionaries/banking/tax_office_list.h"
#include "dictionaries/company/company_address_form.h"
#include "dictionaries/company/company_form.h"
#include "dictionaries/company/company_list.h"
#include "dictionaries/company/related_person_list.h"
#include "dictionaries/company/warehouse_list.h"
#include "dictionaries/staff/employee_list.h"
#include "dictionaries/documents/article_price_list.h"
#include "dictionaries/documents/article_unit_list.h"
#include "dictionaries/documents/classification_list.h"
#include "dictionaries/documents/contractor_picker_list.h"
#include "dictionaries/documents/delivery_form_list.h"
#include "dictionaries/documents/document_label_list.h"
#include "dictionaries/documents/finance_doc_type_list.h"
#include "dictionaries/documents/financial_operation_list.h"
#include "dictionaries/documents/internet_user_list.h"
#include "dictionaries/documents/order_status_list.h"
#include "dictionaries/documents/order_type_list.h"
#include "dictionaries/documents/status_history_order_chooser.h"
#include "dictionaries/documents/payment_form_list.h"
#include "dictionaries/documents/trade_doc_type_list.h"
#include "dictionaries/documents/warehouse_doc_type_list.h"
#include "dictionaries/tax_currency/country_list.h"
#include "dictionaries/tax_currency/currency_list.h"
#include "dictionaries/tax_currency/ladujwaluty.h"
#include "dictionaries/tax_currency/load_vat.h"
#include "dictionaries/tax_currency/province_list.h"
#include "dictionaries/tax_currency/vat_rates.h"
#include "framework/data/file_manager.h"
#include "framework/data/globals.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "sms/template_list.h"
#include "sms/tracking_history_list.h"
#include "sms/tracking_url_list.h"

namespace {

// Each dictionary adds its rows here as it is built; the host's menu lists exactly these.
constexpr const char* kTaxCurrency = "Podatki, kraje i waluty";
constexpr const char* kBanking = "Banki i rozliczenia";
constexpr const char* kCompany = "Firma, pracownicy i magazyny";
constexpr const char* kDocuments = "Dokumenty";
constexpr const char* kContractors = "Kontrahenci";
constexpr const char* kOrders = "Zamówienia";
constexpr const char* kSms = "Powiadomienia SMS";
// Pickers and choosers that only make sense from a document: the host offers them, for
// testing, only when asked to (its "Narzędzia testowe" submenu).
constexpr const char* kTestTool = "tool";

// Entries whose export takes parameters or returns a value start with what the menu means.
void currencies() { WALUTY_BRW(); }
void ratesForToday() { LADUJWALUTY("1", "0", 0); }
// The company's own accounts; the other owners' lists open from their owners' forms.
void companyAccounts() { RACHUNKI_FIRMY_BRW(0); }
void defaultAccounts() { slownik::banking::loadDefaultAccountsAndTell(); }
void vatRates() { slownik::tax_currency::loadVatAndTell(); }
void cashDesks() { KASA_BRW(slownik::data::glo().ID_FIRMY.get()); }
// The company the user works in, opened for change.
void currentCompany() {
  slownik::data::field("FIR:ID_FIRMY").set(slownik::data::glo().ID_FIRMY.get());
  slownik::data::FileManager* companies = slownik::data::fileManager("FIRMA");
  if (!companies || companies->fetch("FIR:PK_FIRMA") != 0) return;
  slownik::data::GLOBALREQUEST() = slownik::data::kChangeRecord;
  FIRMA_UPD();
}
// A new seat address of the company the user works in.
void newCompanyAddress() {
  slownik::data::GLOBALREQUEST() = slownik::data::kInsertRecord;
  ADRES_FIRMY_UPD(slownik::data::glo().ID_FIRMY.get(), 0);
}
void classifications() { TYP_KONTRAHENTA_BRW(""); }
void warehouseDocTypes() { TYP_DOKUMENTU_MAGAZYNOWEGO_BRW(""); }
void documentLabels() { ETYKIETA_DOKUMENTU_BRW(""); }
// The picker alone, as forms that need a contractor open it.
void pickContractor() {
  slownik::data::GLOBALREQUEST() = slownik::data::kSelectRecord;
  KONTRAHENTFORMA_BRW("");
}
void orderSmsTemplates() { SMS_SZABLON_BRW("ZAM_BRW"); }
void tradeDocTypes() { TYP_DOKUMENTU_HANDLOWEGO_BRW(""); }
// The conversion history of a tracking address chosen first.
void trackingHistory() {
  slownik::data::GLOBALREQUEST() = slownik::data::kSelectRecord;
  SMS_URL_BRW();
  if (slownik::data::GLOBALRESPONSE() == slownik::data::kRequestCompleted)
    SMS_URL_HISTORIA_BRW(static_cast<std::int32_t>(slownik::data::field("SMST:ID_TRACKING_URL").number()));
}
// The status history of an order chosen first.
void statusHistory() { slownik::documents::chooseOrderForStatusHistory(); }
void paymentForms() { FORMA_PLATNOSCI_BRW(0); }
void deliveryForms() {
  const std::string company = std::to_string(static_cast<long long>(slownik::data::glo().ID_FIRMY.get()));
  FORMA_DOSTAWY_BRW(company.c_str());
}
// The internet users of a contractor chosen first.
void internetUsers() {
  slownik::data::GLOBALREQUEST() = slownik::data::kSelectRecord;
  KONTRAHENTFORMA_BRW("");
  if (slownik::data::GLOBALRESPONSE() == slownik::data::kRequestCompleted)
    HASLO_INTER_0001_002_BRW(slownik::data::field("KON1:ID_KONTRAHENTA").number());
}
// The persons who receive documents on the side of a contractor chosen first.
void relatedPersons() {
  slownik::data::GLOBALREQUEST() = slownik::data::kSelectRecord;
  KONTRAHENTFORMA_BRW("");
  if (slownik::data::GLOBALRESPONSE() == slownik::data::kRequestCompleted)
    OSOBA_POWIAZANA_BRW(slownik::data::field("KON1:ID_KONTRAHENTA").number(), "Odbiorca", 0);
}
// The choosers alone, as a document editor opens them for a position.
void chooseUnit() {
  slownik::data::GLOBALREQUEST() = slownik::data::kSelectRecord;
  WYBIERZJEDNOSTKEARTYKULU(0, 1, 1, 1, 1, "szt.");
}
void choosePrice() {
  slownik::data::GLOBALREQUEST() = slownik::data::kSelectRecord;
  WYBIERZCENEARTYKULU_SLOWNIK(0);
}

const SlownikEntryPoint kEntryPoints[] = {
    {"VAT_BRW", "Stawki VAT", kTaxCurrency, "browse", VAT_BRW},
    {"KRAJ_BRW", "Kraje", kTaxCurrency, "browse", KRAJ_BRW},
    {"WOJEWODZTWO_BRW", "Województwa", kTaxCurrency, "browse", WOJEWODZTWO_BRW},
    {"WALUTY_BRW", "Waluty", kTaxCurrency, "browse", currencies},
    {"LADUJWALUTY", "Kursy walut na dziś", kTaxCurrency, "loader", ratesForToday},
    {"LOADVAT", "Wczytaj stawki VAT", kTaxCurrency, "loader", vatRates},
    {"BANKI_BRW", "Lista banków", kBanking, "browse", BANKI_BRW},
    {"IMPORTKIR", "Importuj banki z KIR", kBanking, "importer", IMPORTKIR},
    {"RACHUNKI_FIRMY_BRW", "Rachunki bankowe firmy", kBanking, "browse", companyAccounts},
    {"LADUJDOMYSLNERACHUNKI", "Wczytaj domyślne rachunki firmy", kBanking, "loader", defaultAccounts},
    {"TABELA_ODSETEK_BRW", "Tabele odsetek", kBanking, "browse", TABELA_ODSETEK_BRW},
    {"URZEDY_BRW", "Lista urzędów", kBanking, "browse", URZEDY_BRW},
    {"KASA_BRW", "Kasy", kBanking, "browse", cashDesks},
    {"FIRMA_BRW", "Firmy", kCompany, "browse", FIRMA_BRW},
    {"FIRMA_UPD", "Dane bieżącej firmy", kCompany, "form", currentCompany},
    {"ADRES_FIRMY_UPD", "Nowy adres bieżącej firmy", kCompany, "form", newCompanyAddress},
    {"MAGAZYN_SRC_BRW", "Magazyny", kCompany, "browse", MAGAZYN_SRC_BRW},
    {"PRACOWNIK_BRW", "Pracownicy", kCompany, "browse", PRACOWNIK_BRW},
    {"TYP_KONTRAHENTA_BRW", "Klasyfikacje kontrahentów", kContractors, "browse", classifications},
    {"OSOBA_POWIAZANA_BRW", "Osoby powiązane", kContractors, "browse", relatedPersons},
    {"TYP_DOKUMENTU_MAGAZYNOWEGO_BRW", "Typy dokumentów magazynowych", kDocuments, "browse", warehouseDocTypes},
    {"TYP_DOKUMENTU_HANDLOWEGO_BRW", "Typy dokumentów handlowych", kDocuments, "browse", tradeDocTypes},
    {"TYP_DOKUMENTU_FINANSOWEGO_BRW", "Typy dokumentów finansowych", kDocuments, "browse",
     TYP_DOKUMENTU_FINANSOWEGO_BRW},
    {"ETYKIETA_DOKUMENTU_BRW", "Etykiety dokumentów", kDocuments, "browse", documentLabels},
    {"FORMA_PLATNOSCI_BRW", "Formy płatności", kDocuments, "browse", paymentForms},
    {"RODZAJ_OPERACJI_FIN_BRW", "Operacje finansowe", kDocuments, "browse", RODZAJ_OPERACJI_FIN_BRW},
    {"FORMA_DOSTAWY_BRW", "Formy dostawy", kDocuments, "browse", deliveryForms},
    {"TYP_ZLECENIA_BRW", "Typy zleceń", kOrders, "browse", TYP_ZLECENIA_BRW},
    {"STATUSYZAMOWIEN_BRW", "Statusy zamówień", kOrders, "browse", STATUSYZAMOWIEN_BRW},
    {"HISTORIASTATUSOWZAMOWIEN_BRW", "Historia statusów zamówienia", kOrders, "browse", statusHistory},
    {"KONTRAHENTFORMA_BRW", "Wybór kontrahenta", kContractors, kTestTool, pickContractor},
    {"HASLO_INTER_0001_002_BRW", "Użytkownicy internetowi kontrahenta", kContractors, "browse", internetUsers},
    {"WYBIERZJEDNOSTKEARTYKULU", "Wybór jednostki artykułu", kDocuments, kTestTool, chooseUnit},
    {"WYBIERZCENEARTYKULU_SLOWNIK", "Wybór ceny artykułu", kDocuments, kTestTool, choosePrice},
    {"SMS_SZABLON_BRW", "Szablony SMS zamówień", kSms, "browse", orderSmsTemplates},
    {"SMS_URL_BRW", "Śledzenie adresu URL", kSms, "browse", SMS_URL_BRW},
    {"SMS_URL_HISTORIA_BRW", "Historia śledzenia adresu URL", kSms, "browse", trackingHistory},
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

}  // namespace

extern "C" const SlownikEntryPoint* SLOWNIK_ENTRY_POINTS(int* count) {
  int n = 0;
  for (const auto& e : kEntryPoints)
    if (e.exportName) ++n;
  if (count) *count = n;
  return kEntryPoints;
}
