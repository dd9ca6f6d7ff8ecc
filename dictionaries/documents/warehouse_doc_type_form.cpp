#include "dictionaries/documents/warehouse_doc_type_form.h"

#include <cstdlib>

#include "dictionaries/documents/doc_type_form.h"
#include "dictionaries/documents/warehouse_doc_type_kinds.h"
#include "framework/data/file_manager.h"
#include "framework/data/globals.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/error_state.h"
#include "framework/services/messages.h"
#include "framework/services/rights.h"
#include "framework/services/service_database.h"
#include "framework/services/sql_services.h"
#include "framework/services/validation.h"
#include "framework/sql/text.h"

namespace slownik::documents {
namespace {

constexpr const char* kName = "?TYPDMAG:NAZWA";
constexpr const char* kSignature = "?TYPDMAG:SYGNATURA";
constexpr const char* kKind = "?TYPDMAG:RODZAJ";
constexpr const char* kValuation = "?TYPDMAG:WYCENA";
constexpr const char* kSumming = "?TYPDMAG:SUMOWANIE";
constexpr const char* kInvoice = "?TYPDMAG:FAKTURA";
constexpr const char* kSave = "?OK";

std::string id(std::string_view field) { return sql::sqlId(data::field(field).number()); }

}  // namespace

WarehouseDocTypeForm::WarehouseDocTypeForm() : RecordForm(makeDescriptor()) {}

engine::FormDescriptor WarehouseDocTypeForm::makeDescriptor() {
  engine::FormDescriptor d;
  d.module = 8;
  d.procedure = "Typ_dokumentu_magazynowego_Upd";
  d.table = "TYP_DOKUMENTU_MAGAZYNOWEGO";
  d.lookupTables = {"NUMERACJA"};
  d.titles = {"Dodawanie typu dokumentu", "Edycja typu dokumentu", "View Record"};
  d.history = {{kName, 5}, {kSignature, 8}, {kKind, 6}, {kValuation, 9}, {kSumming, 7}, {kInvoice, 2}};
  d.helpPage = "kar_typdok_mag.htm";
  d.firstField = kName;
  d.warning = engine::WarningStyle::Message;
  return d;
}

bool WarehouseDocTypeForm::isSystemType() const { return data::field("TYPDMAG:CZY_SYSTEMOWY").number() == 1; }

void WarehouseDocTypeForm::primeFields() {
  data::field("TYPDMAG:ID_FIRMY").set(data::glo().ID_FIRMY.get());
  data::field("TYPDMAG:CZY_SYSTEMOWY").set(0);
  data::field("TYPDMAG:NAZWA").set("");
  data::field("TYPDMAG:SYGNATURA").set("");
  data::field("TYPDMAG:RODZAJ").set(kReceipt);
  data::field("TYPDMAG:SUMOWANIE").set("Netto");
  data::field("TYPDMAG:FAKTURA").set(0);
}

void WarehouseDocTypeForm::prepare() {
  window()->setItems(kKind, offeredKinds(isSystemType()));
  // Viewing leaves every field as the form locked it.
  if (request() == data::kViewRecord) return;
  if (isSystemType())
    for (const char* control : {kName, kKind, kSignature, kInvoice}) window()->disable(control);
  mayEdit_ = request() != data::kChangeRecord || svc::POBIERZUPRAWNIENIE("ETypDokMag") == 1;
  applyKind();
  applyEditRight();
  applyInvoiceLink(false);
}

void WarehouseDocTypeForm::applyKind() {
  std::optional<WarehouseKind> kind = warehouseKind(text("TYPDMAG:RODZAJ"));
  if (kind && kind->purchasePricesOnly) data::field("TYPDMAG:WYCENA").set(kPurchasePrices);
  window()->enable(kValuation, !kind || kind->valuationEnabled);
  window()->enable(kSumming, !kind || kind->summingEnabled);
}

void WarehouseDocTypeForm::applyEditRight() {
  if (mayEdit_) return;
  for (const char* control : {kValuation, kSumming, kKind, kSignature, kSave}) window()->disable(control);
}

void WarehouseDocTypeForm::applyInvoiceLink(bool clearWhenOff) {
  bool allowed = canLinkInvoice(text("TYPDMAG:WYCENA"), text("TYPDMAG:RODZAJ"));
  window()->enable(kInvoice, allowed);
  if (!allowed && clearWhenOff) {
    data::field("TYPDMAG:FAKTURA").set(0);
    display(kInvoice);
  }
}

int WarehouseDocTypeForm::checkField(const rt::Event& e) {
  if (e.control != kSave || (request() != data::kInsertRecord && request() != data::kChangeRecord)) {
    return fw::kLevelBenign;
  }
  update();
  return validate() ? fw::kLevelBenign : fw::kLevelNotify;
}

bool WarehouseDocTypeForm::validate() {
  if (engine::trimmed(text("TYPDMAG:NAZWA")).empty()) {
    svc::WALIDACJA("Nazwa nie może być pusta. Proszę wprowadzić nazwę!", kName);
    return false;
  }
  // Order types of the company count too.
  if (std::optional<std::string> problem =
          warehouseTableSignatureProblem(data::field("TYPDMAG:ID_TYPU").number(), text("TYPDMAG:SYGNATURA"))) {
    svc::WALIDACJA(*problem, kSignature);
    return false;
  }
  std::string kindName = text("TYPDMAG:RODZAJ");
  if (!canLinkInvoice(text("TYPDMAG:WYCENA"), kindName) && data::field("TYPDMAG:FAKTURA").number() == 1) {
    svc::WALIDACJA("Typ dokumentu wyceniany w cenach zakupu nie może być powiązany z fakturą!", kValuation);
    return false;
  }
  if (std::optional<WarehouseKind> kind = warehouseKind(kindName); kind && kind->kindClass)
    data::field("TYPDMAG:KLASA_RODZAJU").set(*kind->kindClass);
  return true;
}

int WarehouseDocTypeForm::afterAccepted(const rt::Event& e) {
  if (e.control == kKind) {
    applyKind();
    applyEditRight();
    applyInvoiceLink(true);
    display();
  } else if (e.control == kValuation) {
    applyInvoiceLink(true);
  }
  return fw::kLevelBenign;
}

int WarehouseDocTypeForm::takeCompleted() {
  if (request() != data::kInsertRecord) return RecordForm::takeCompleted();
  return insertWithNumbering();
}

int WarehouseDocTypeForm::insertWithNumbering() {
  update();
  data::FileManager& file = data::fileManager(table());
  bool inserted = false;
  // The numbering definition is made for the id the row was written with (the id primed
  // when the form opened may have been taken by another user meanwhile), and the two are
  // written together: a type without numbering could not number its documents, and a
  // definition left by a failed insert would belong to no type.
  sql::Status written = svc::serviceTransaction([&](sql::Database& db) {
    if (file.insert() != 0) return sql::Status::failure(file.errorText());
    inserted = true;
    return db.run("call RM_DodajDefinicjeNumeracji(" + id("TYPDMAG:ID_FIRMY") + "," + id("TYPDMAG:ID_TYPU") + ",'" +
                  sql::escape(clipRight(text("TYPDMAG:SYGNATURA"))) + "'," + std::to_string(kWarehouseFamily) + "," +
                  (text("TYPDMAG:RODZAJ") == kReceipt ? "1" : "0") + ")");
  });
  if (!written) {
    if (inserted) {
      // Rolled back: the next attempt takes a fresh id.
      data::field("TYPDMAG:ID_TYPU").set(0);
      svc::MSG_OSTRZEZENIE("Nie udało się utworzyć numeracji typu dokumentu! Powód: " + written.message());
    } else if (!file.errors()) {
      svc::warningBox(file.errorText());
    }
    return fw::kLevelNotify;  // the form stays open with what the user typed
  }
  fw::historyCopy(table()) = data::buffer(table());
  post(data::kRequestCompleted);
  afterSave();
  return fw::kLevelNotify;
}

void WarehouseDocTypeForm::afterSave() {
  if (request() == data::kDeleteRecord) {
    deleteTypeNumbering(kWarehouseFamily, data::field("TYPDMAG:ID_FIRMY").number(),
                        data::field("TYPDMAG:ID_TYPU").number());
    return;
  }
  std::string signature = clipRight(text("TYPDMAG:SYGNATURA"));
  if (request() == data::kChangeRecord && signature != clipRight(savedValue("TYPDMAG:SYGNATURA")))
    renameTypeNumbering(kWarehouseFamily, data::field("TYPDMAG:ID_FIRMY").number(),
                        data::field("TYPDMAG:ID_TYPU").number(), signature);
  // The host builds its tree of document types from these rows.
  if (recordChangedSinceOpening(*this)) data::glo().DOKMAG_DRZEWKO_LOADED = 0;
}

}  // namespace slownik::documents

extern "C" void TYP_DOKUMENTU_MAGAZYNOWEGO_UPD() {
  slownik::documents::WarehouseDocTypeForm form;
  form.run();
}
