#include "framework/sql/catalogue.h"
#include "framework/sql/catalogue/table_builder.h"

namespace slownik::sql {

// Contractors, articles and prices, document types, payment and delivery forms, orders,
// labels, contacts and internet users.
void addDocumentTables(std::vector<TableDef>& tables) {
  // Contractors of a company. ODBIORCA/DOSTAWCA mark recipients and suppliers (rights
  // are asked per kind); OPERATOR_PLATNOSCI 1 = may be a payment operator.
  TableDef contractors = table("KONTRAHENT", "KON")
                             .id("ID_KONTRAHENTA")
                             .ref("ID_FIRMY").notNull()
                             .text("NAZWA", 50)
                             .text("NAZWA_PELNA", 200)
                             .text("NIP", 30)
                             .text("REGON", 20)
                             .text("MIEJSCOWOSC", 50)
                             .text("KOD_POCZTOWY", 20)
                             .text("ULICA_LOKAL", 50)
                             .text("WYROZNIK", 50)
                             .byte("FLAGA_STANU")
                             .text("SYM_KRAJU", 3)
                             .byte("OPERATOR_PLATNOSCI")
                             .byte("ODBIORCA")
                             .byte("DOSTAWCA")
                             .text("TELEFON", 50)
                             .text("E_MAIL", 100)
                             .ref("ID_RACHUNKU")
                             .ref("ID_KLASYFIKACJI")
                             .ref("SEMAFOR")
                             .key("KON:PK_KONTRAHENT", {"ID_KONTRAHENTA"}, TableBuilder::Primary)
                             .key("KON:KONTRAHENT_IDFIRMY_NAZWA", {"ID_FIRMY", "NAZWA"}, TableBuilder::NoCase)
                             .key("KON:KONTRAHENT_IDFIR_NIP", {"ID_FIRMY", "NIP"})
                             .key("KON:KONTRAHENT_IDFIRMY_MEJSCOWOSC", {"ID_FIRMY", "MIEJSCOWOSC"}, TableBuilder::NoCase)
                             .key("KON:KONTRAHENT_IDFIRMY_KODPOCZTOWY", {"ID_FIRMY", "KOD_POCZTOWY"})
                             .key("KON:KONTRAHENT_ID_FIRMY_ID_KONTRAHENTA", {"ID_FIRMY", "ID_KONTRAHENTA"})
                             .key("KON:KONTRAHENT_IDFIRMY_WYROZNIK", {"ID_FIRMY", "WYROZNIK"}, TableBuilder::NoCase);
  // The contractor picker reads the same rows through a view of its own (a second buffer,
  // so that picking never disturbs the caller's KONTRAHENT record).
  TableDef contractors1 = table("KONTRAHENT1", "KON1")
                              .columnsOf(contractors)
                              .key("KON1:PK_KONTRAHENT", {"ID_KONTRAHENTA"}, TableBuilder::Primary)
                              .key("KON1:KONTRAHENT_IDFIRMY_NAZWA", {"ID_FIRMY", "NAZWA"}, TableBuilder::NoCase)
                              .key("KON1:KONTRAHENT_IDFIR_NIP", {"ID_FIRMY", "NIP"})
                              .key("KON1:KONTRAHENT_IDFIRMY_MEJSCOWOSC", {"ID_FIRMY", "MIEJSCOWOSC"}, TableBuilder::NoCase)
                              .key("KON1:KONTRAHENT_IDFIRMY_KODPOCZTOWY", {"ID_FIRMY", "KOD_POCZTOWY"})
                              .key("KON1:KONTRAHENT_ID_FIRMY_ID_KONTRAHENTA", {"ID_FIRMY", "ID_KONTRAHENTA"})
                              .key("KON1:KONTRAHENT_IDFIRMY_WYROZNIK", {"ID_FIRMY", "WYROZNIK"}, TableBuilder::NoCase)
                              .view();
  tables.push_back(std::move(contractors));
  tables.push_back(std::move(contractors1));

  // Classifications of contractors; the fields keep the record positions the form's
  // history key counts on (NAZWA 3, OPIS 4, DOMYSLNA 7).
  tables.push_back(table("KLASYFIKACJA_KONTRAHENTA", "KLA")
                       .id("ID_KLASYFIKACJI")
                       .ref("ID_FIRMY").notNull()
                       .text("NAZWA", 50)
                       .memo("OPIS")
                       .ref("ID_NADRZEDNEJ")
                       .longint("KOLEJNOSC")
                       .byte("DOMYSLNA")
                       .key("KLA:PK_KLASYFIKACJA_KONTRAHENTA", {"ID_KLASYFIKACJI"}, TableBuilder::Primary)
                       .key("KLA:KLASYF_KONTR_IDFIR_NAZWA", {"ID_FIRMY", "NAZWA"}));

  // Contractors in classifications.
  tables.push_back(table("GRUPA_KONTRAHENTA", "GRU")
                       .ref("ID_KLASYFIKACJI").notNull()
                       .ref("ID_KONTRAHENTA").notNull()
                       .key("GRU:PK_GRUPA_KONTRAHENTA", {"ID_KLASYFIKACJI", "ID_KONTRAHENTA"}, TableBuilder::Primary)
                       .key("GRU:GRUPA_IDKONTR", {"ID_KONTRAHENTA"}));

  // Warehouse document types; the same table holds the order types ("Zamówienie") and
  // production order types ("Zlecenie"). SYGNATURA is exactly 3 characters, blank-padded.
  tables.push_back(table("TYP_DOKUMENTU_MAGAZYNOWEGO", "TYPDMAG")
                       .shortint("CZY_SYSTEMOWY")
                       .shortint("FAKTURA")
                       .ref("ID_FIRMY").notNull()
                       .id("ID_TYPU")
                       .text("NAZWA", 50)
                       .text("RODZAJ", 20)
                       .text("SUMOWANIE", 15)
                       .text("SYGNATURA", 3)
                       .text("WYCENA", 10)
                       .ref("KLASA_RODZAJU")
                       .key("TYPDMAG:PK_TYP_DOKUMENTU_MAGAZYNOWEGO", {"ID_TYPU"}, TableBuilder::Primary)
                       .key("TYPDMAG:TYP_DOK_MAG_IDFIR_NAZWA", {"ID_FIRMY", "NAZWA"})
                       .key("TYPDMAG:TYP_DOK_MAG_IDFIR_SYGNATURA", {"ID_FIRMY", "SYGNATURA"}));

  // KOD_RODZAJU: "z" purchase, "s" sale, "kz"/"ks" their corrections.
  tables.push_back(table("TYP_DOKUMENTU_HANDLOWEGO", "TYPDH")
                       .byte("CZY_SYSTEMOWY")
                       .id("ID_TYPU")
                       .ref("ID_FIRMY").notNull()
                       .text("NAZWA", 50)
                       .text("SYGNATURA", 5)
                       .text("KOD_RODZAJU", 2)
                       .text("SUMOWANIE", 10)
                       .ref("KLASA_RODZAJU")
                       .byte("AKTYWNY")
                       .key("TYPDH:PK_TYP_DOKUMENTU_HANDLOWEGO", {"ID_TYPU"}, TableBuilder::Primary)
                       .key("TYPDH:FK_FIRMA_NAZWA", {"ID_FIRMY", "NAZWA"}));

  // KIERUNEK "w" inflow, "y" outflow, "c" compensation; RODZAJ_OPERACJI "k", "b", "g", "c", "i".
  tables.push_back(table("TYP_DOKUMENTU_FINANSOWEGO", "TYPDF")
                       .id("ID_TYPU")
                       .ref("ID_FIRMY").notNull()
                       .text("KIERUNEK", 1)
                       .text("NAZWA", 50)
                       .text("RODZAJ_OPERACJI", 1)
                       .text("SYGNATURA", 5)
                       .byte("CZY_SYSTEMOWY")
                       .text("KOD_OPERACJI_DOM", 5)
                       .key("TYPDF:PK_TYP_DOKUMENTU_FINANSOWEGO", {"ID_TYPU"}, TableBuilder::Primary)
                       .key("TYPDF:FK_FIRMA_NAZWA", {"ID_FIRMY", "NAZWA"}));

  // Articles: the dictionaries read the unit, the category and the warehouse of one.
  // Prices of the purchase in a foreign currency let them be recalculated after a rate change.
  tables.push_back(table("ARTYKUL", "ART")
                       .id("ID_ARTYKULU")
                       .ref("ID_MAGAZYNU").notNull()
                       .ref("ID_KATEGORII")
                       .ref("ID_JEDNOSTKI")
                       .text("INDEKS_KATALOGOWY", 30)
                       .text("INDEKS_HANDLOWY", 30)
                       .text("NAZWA", 100)
                       .text("KOD_VAT", 3)
                       .text("SYM_WALUTY", 3)
                       .decimal("CENA_ZAKUPU_WAL", 16, 4)
                       .decimal("CENA_ZAKUPU", 16, 4)
                       .key("ART:PK_ARTYKUL", {"ID_ARTYKULU"}, TableBuilder::Primary)
                       .key("ART:ARTYKUL_IDMAG_INDEKS", {"ID_MAGAZYNU", "INDEKS_KATALOGOWY"})
                       .key("ART:ARTYKUL_IDMAG_NAZWA", {"ID_MAGAZYNU", "NAZWA"}, TableBuilder::NoCase));

  // Units of measure; PRZELICZNIK = base units in one unit; PODZIELNA 0 = whole quantities only.
  tables.push_back(table("JEDNOSTKA", "JED")
                       .ref("ID_ARTYKULU")
                       .ref("ID_FIRMY").notNull()
                       .id("ID_JEDNOSTKI")
                       .text("NAZWA", 20)
                       .longint("PODZIELNA")
                       .decimal("PRZELICZNIK", 16, 6)
                       .text("SKROT", 10)
                       .key("JED:PK_JEDNOSTKA", {"ID_JEDNOSTKI"}, TableBuilder::Primary)
                       .key("JED:JEDNOSTKA_IDFIR_SKROT", {"ID_FIRMY", "SKROT"}));

  // Price types, the types offered per category, and an article's price of each type.
  tables.push_back(table("CENA", "CEN")
                       .id("ID_CENY")
                       .ref("ID_FIRMY")
                       .text("NAZWA", 50)
                       .key("CEN:PK_CENA", {"ID_CENY"}, TableBuilder::Primary)
                       .key("CEN:CENA_IDFIR_NAZWA", {"ID_FIRMY", "NAZWA"}));
  tables.push_back(table("CENA_KATEGORII", "CENKAT")
                       .ref("ID_CENY").notNull()
                       .ref("ID_KATEGORII").notNull()
                       .key("CENKAT:PK_CENA_KATEGORII", {"ID_KATEGORII", "ID_CENY"}, TableBuilder::Primary));
  // NARZUT: the margin in percent over the purchase price that a price recalculation keeps.
  tables.push_back(table("CENA_ARTYKULU", "CENART")
                       .ref("ID_CENY").notNull()
                       .ref("ID_ARTYKULU").notNull()
                       .decimal("CENA_NETTO", 16, 4)
                       .decimal("CENA_BRUTTO", 16, 4)
                       .decimal("NARZUT", 9, 4)
                       .key("CENART:PK_CENA_ARTYKULU", {"ID_CENY", "ID_ARTYKULU"}, TableBuilder::Primary)
                       .key("CENART:CENA_ARTYKULU_IDART", {"ID_ARTYKULU", "ID_CENY"}));

  // Payment forms; ID_FIRMY 0 = shared by all companies. The 32-bit id is primed like any other.
  tables.push_back(table("FORMA_PLATNOSCI", "FORP")
                       .longint("ID_FORMY").notNull()
                       .text("KOD", 3)
                       .text("NAZWA", 50)
                       .longint("SYSTEMOWY")
                       .longint("DNI_NALEZNOSCI")
                       .longint("DNI_ZOBOWIAZAN")
                       .byte("AKTYWNA")
                       .longint("ID_FIRMY")
                       .longint("ID_PLATNIKA")
                       .byte("GEN_AUTO_ROZLICZ")
                       .byte("WLICZAJ_DO_LIMITU")
                       .key("FORP:PK_FORMA_PLATNOSCI", {"ID_FORMY"}, TableBuilder::Primary)
                       .key("FORP:PO_KODZIE", {"KOD"}, TableBuilder::NoCase)
                       .key("FORP:PO_NAZWIE", {"NAZWA"}, TableBuilder::NoCase)
                       .idColumn("ID_FORMY"));

  tables.push_back(table("RODZAJ_OPERACJI_FIN", "ROF")
                       .text("KOD_OPERACJI", 5).notNull()
                       .text("NAZWA", 50)
                       .key("ROF:PK_RODZAJ_OPERACJI", {"KOD_OPERACJI"}, TableBuilder::Primary)
                       .key("ROF:PO_NAZWIE", {"NAZWA"}, TableBuilder::NoCase));

  // SYSTEMOWA 1 = used by the online-store integration; cannot be deleted.
  tables.push_back(table("FORMA_DOSTAWY", "FORD")
                       .id("ID_FORMY_DOSTAWY")
                       .text("NAZWA", 50)
                       .text("TYP_DOSTAWY", 10)
                       .ref("ID_FIRMY")
                       .byte("SYSTEMOWA")
                       .key("FORD:PK_FORMA_DOSTAWY", {"ID_FORMY_DOSTAWY"}, TableBuilder::Primary)
                       .key("FORD:PO_NAZWIE", {"NAZWA"}, TableBuilder::NoCase));

  // Document statuses; TYP_DOKUMENTU "Z" = orders. KOD_STATUSU is unique per document type.
  tables.push_back(table("VEX_SLOWNIK_STATUSOW_DOKUMENTOW", "VSSD")
                       .id("ID_STATUSU")
                       .text("OPIS_STATUSU", 40)
                       .text("KOD_STATUSU", 1)
                       .text("TYP_DOKUMENTU", 1)
                       .byte("SYSTEMOWY")
                       .byte("AUTOMATYCZNY")
                       .byte("AKTYWNY")
                       .longint("ID_SZABLONU_SMS")
                       .key("VSSD:PK_VEX_SLOWNIK_STATUSOW_DOKUMENTOW", {"ID_STATUSU"}, TableBuilder::Primary)
                       .key("VSSD:STATUS_TYP_KOD", {"TYP_DOKUMENTU", "KOD_STATUSU"}, TableBuilder::Unique));

  // Versions of lists that programs keep in memory ("STATUSY_ZAMOWIEN"): a program compares
  // the version it read with this one to know that another program changed the list.
  tables.push_back(table("WERSJA_LISTY", "WERL")
                       .text("NAZWA", 30).notNull()
                       .longint("WERSJA")
                       .key("WERL:PK_WERSJA_LISTY", {"NAZWA"}, TableBuilder::Primary)
                       .tableSince(8));

  // Orders: the dictionaries read only the number.
  tables.push_back(table("ZAMOWIENIE", "ZAM")
                       .id("ID_ZAMOWIENIA")
                       .ref("ID_FIRMY")
                       .ref("ID_KONTRAHENTA")
                       .ref("ID_TYPU")
                       .text("NUMER", 30)
                       .text("STATUS", 1)
                       .date("DATA_WYSTAWIENIA")
                       .key("ZAM:PK_ZAMOWIENIE", {"ID_ZAMOWIENIA"}, TableBuilder::Primary)
                       .key("ZAM:ZAMOWIENIE_IDFIR_NUMER", {"ID_FIRMY", "NUMER"}));

  // Register of order status changes. The lists read it through the view below, which
  // adds the status descriptions and the names of the user and the employee.
  tables.push_back(table("REJESTR_ZMIAN_STATUSOW_ZAMOWIEN", "RZSZ")
                       .id("ID_REJESTRU_ZMIAN")
                       .ref("ID_ZAMOWIENIA").notNull()
                       .text("STATUS_PRZED_ZMIANA", 1)
                       .text("STATUS_PO_ZMIANIE", 1)
                       .date("DATA_ZMIANY")
                       .time("CZAS_ZMIANY")
                       .ref("ID_UZYTKOWNIKA")
                       .ref("ID_PRACOWNIKA")
                       .text("KOMENTARZ", 1000)
                       .key("RZSZ:PK_REJESTR_ZMIAN", {"ID_REJESTRU_ZMIAN"}, TableBuilder::Primary)
                       .key("RZSZ:REJESTR_IDZAM", {"ID_ZAMOWIENIA", "DATA_ZMIANY", "CZAS_ZMIANY"}));
  tables.push_back(table("WIDOK_REJESTR_ZMIAN_STATUSOW_ZAMOWIEN", "VRZS")
                       .ref("IDREJESTRUZMIAN")
                       .ref("IDZAMOWIENIA")
                       .text("STATUSPRZEDZMIANA", 1)
                       .text("OPISSTATUSUPRZEDZMIANA", 60)
                       .text("STATUSPOZMIANIE", 1)
                       .text("OPISSTATUSUPOZMIANIE", 60)
                       .date("DATACZASZMIANY_DATE")
                       .time("DATACZASZMIANY_TIME")
                       .ref("IDUZYTKOWNIKA")
                       .text("NAZWAUZYTKOWNIKA", 50)
                       .ref("IDPRACOWNIKA")
                       .text("NAZWAPRACOWNIKA", 100)
                       .text("KOMENTARZ", 1000)
                       .key("VRZS:PK_IDREJESTRUZMIAN", {"IDREJESTRUZMIAN"}, TableBuilder::Primary)
                       .key("VRZS:WG_UZYTKOWNIKA", {"NAZWAUZYTKOWNIKA", "DATACZASZMIANY_DATE", "DATACZASZMIANY_TIME",
                                                    "IDREJESTRUZMIAN"}, TableBuilder::NoCase)
                       .key("VRZS:WG_DATY", {"DATACZASZMIANY_DATE", "DATACZASZMIANY_TIME", "IDREJESTRUZMIAN"})
                       .key("VRZS:WG_PRACOWNIKA", {"NAZWAPRACOWNIKA", "DATACZASZMIANY_DATE", "DATACZASZMIANY_TIME",
                                                   "IDREJESTRUZMIAN"}, TableBuilder::NoCase)
                       .view());

  // DOKUMENT: nine "0"/"1" flags, where the label is offered (warehouse documents first).
  // Colours are 32-bit values, -1 = none.
  tables.push_back(table("ETYKIETA_DOKUMENTU", "ETYD")
                       .id("ID_ETYKIETY")
                       .ref("ID_FIRMY")
                       .text("NAZWA", 50)
                       .text("DOKUMENT", 9)
                       .longint("KOLOR_NAPISU")
                       .longint("KOLOR_TLA")
                       .key("ETYD:PK_ETYKIETA_DOKUMENTU", {"ID_ETYKIETY"}, TableBuilder::Primary)
                       .key("ETYD:PO_NAZWIE", {"ID_FIRMY", "NAZWA"}, TableBuilder::NoCase));

  // Contact persons of a contractor.
  tables.push_back(table("KONTAKT", "KNTK")
                       .id("ID_KONTAKTU")
                       .ref("ID_KONTRAHENTA").notNull()
                       .text("NAZWISKO", 50)
                       .text("IMIE", 50)
                       .text("TEL", 50)
                       .text("TEL_KOM", 50)
                       .text("FAX", 50)
                       .text("STANOWISKO", 50)
                       .text("E_MAIL", 255)
                       .text("UWAGI", 200)
                       .text("TYTUL", 20)
                       .text("GG_NR", 30)
                       .text("SKYPE_NR", 30)
                       .key("KNTK:PK_KONTAKT", {"ID_KONTAKTU"}, TableBuilder::Primary)
                       .key("KNTK:KONTAKT_IDKONTR_NAZWISKO", {"ID_KONTRAHENTA", "NAZWISKO"}, TableBuilder::NoCase));

  // Tasks of the customer-relations module assigned to a contact; counted before a delete.
  tables.push_back(table("CRM_INTER_KONTAKT", "CRMK")
                       .id("ID_ZADANIA_KONTAKTU")
                       .ref("ID_KONTAKTU").notNull()
                       .ref("ID_ZADANIA")
                       .key("CRMK:PK_CRM_INTER_KONTAKT", {"ID_ZADANIA_KONTAKTU"}, TableBuilder::Primary)
                       .key("CRMK:CRM_INTER_KONTAKT_IDKONT", {"ID_KONTAKTU"}));

  // Internet users of a contractor (the online-store log-ins).
  tables.push_back(table("INT_UZYTKOWNIK", "INTU")
                       .id("ID_INT_UZYTKOWNIK")
                       .ref("ID_KONTRAHENTA").notNull()
                       .text("HASLO", 30)
                       .byte("AKTYWNY")
                       .text("NAZWISKO", 50)
                       .text("IMIE", 50)
                       .key("INTU:PK_INT_UZYTKOWNIK", {"ID_INT_UZYTKOWNIK"}, TableBuilder::Primary)
                       .key("INTU:INT_UZYTKOWNIK_IDKONTR", {"ID_KONTRAHENTA", "NAZWISKO"}, TableBuilder::NoCase));
}

}  // namespace slownik::sql
