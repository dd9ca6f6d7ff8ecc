#include "framework/sql/catalogue.h"
#include "framework/sql/catalogue/table_builder.h"

namespace slownik::sql {

// SMS templates and tracking addresses.
void addSmsTables(std::vector<TableDef>& tables) {
  // PRGKOD 3 = templates of this module; KONTEKST names the list that offers them ("ZAM_BRW").
  tables.push_back(table("SMS_SZABLON", "SMSSZ")
                       .id("ID_SMS_SZABLONU")
                       .ref("ID_FIRMY")
                       .byte("PRGKOD")
                       .text("KONTEKST", 50)
                       .text("NAZWA", 100)
                       .text("TRESC_WIADOMOSCI", 2000)
                       .key("SMSSZ:PK_SMS_SZABLON", {"ID_SMS_SZABLONU"}, TableBuilder::Primary)
                       .key("SMSSZ:POD_NAZWIE", {"NAZWA"}, TableBuilder::NoCase));

  // Ids are 32-bit here. KLUCZ_SLEDZENIA is the key that the short address carries.
  tables.push_back(table("SMS_TRACKING_URL", "SMST")
                       .longint("ID_TRACKING_URL").notNull()
                       .longint("ID_FIRMY")
                       .text("NAZWA", 50)
                       .text("ADRES_WWW", 100)
                       .text("KLUCZ_SLEDZENIA", 50)
                       .date("DATA_CZAS_DATE")
                       .time("DATA_CZAS_TIME")
                       .memo("OPIS")
                       .idColumn("ID_TRACKING_URL")
                       .key("SMST:PK_SMS_TRACKING_URL", {"ID_TRACKING_URL"}, TableBuilder::Primary)
                       .key("SMST:PO_NAZWIE", {"NAZWA"}, TableBuilder::NoCase)
                       .key("SMST:PO_WWW", {"ADRES_WWW"}, TableBuilder::NoCase)
                       .key("SMST:PO_DACIE", {"-DATA_CZAS_DATE", "-DATA_CZAS_TIME"}));

  // Conversion snapshots of a tracking address: sent, clicked, clicked per sent in percent.
  tables.push_back(table("SMS_TRACKING_URL_HISTORIA", "SMSTH")
                       .id("ID_HISTORII")
                       .longint("ID_TRACKING_URL").notNull()
                       .longint("ILOSC_WYSLANYCH")
                       .longint("ILOSC_KLIKNIETYCH")
                       .decimal("WSPOLCZYNNIK_KONWERSJI", 9, 2)
                       .date("DATA")
                       .time("CZAS")
                       .key("SMSTH:PK_SMS_TRACKING_URL_HISTORIA", {"ID_HISTORII"}, TableBuilder::Primary)
                       .key("SMSTH:PO_ID_TRAKING", {"ID_TRACKING_URL", "-DATA", "-CZAS"}));

  // Messages sent carrying a tracking key, one row each, written by the sender through
  // KS_SMS_ZAPISZ_WYSLANIE; the conversion check counts them.
  tables.push_back(table("SMS_WYSLANA", "SMSW")
                       .id("ID_WYSLANEJ")
                       .text("KLUCZ_SLEDZENIA", 50).notNull()
                       .text("NUMER_TELEFONU", 20)
                       .date("DATA")
                       .time("CZAS")
                       .key("SMSW:PK_SMS_WYSLANA", {"ID_WYSLANEJ"}, TableBuilder::Primary)
                       .key("SMSW:PO_KLUCZU", {"KLUCZ_SLEDZENIA", "DATA", "CZAS"})
                       .tableSince(8));

  // Clicks on a tracking address, one row each, written by the redirect service through
  // KS_SMS_ZAPISZ_KLIKNIECIE before it sends the reader on to ADRES_WWW.
  tables.push_back(table("SMS_KLIKNIECIE", "SMSK")
                       .id("ID_KLIKNIECIA")
                       .text("KLUCZ_SLEDZENIA", 50).notNull()
                       .date("DATA")
                       .time("CZAS")
                       .key("SMSK:PK_SMS_KLIKNIECIE", {"ID_KLIKNIECIA"}, TableBuilder::Primary)
                       .key("SMSK:PO_KLUCZU", {"KLUCZ_SLEDZENIA", "DATA", "CZAS"})
                       .tableSince(8));
}

}  // namespace slownik::sql
