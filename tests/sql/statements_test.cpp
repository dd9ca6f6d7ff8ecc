#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/sql/catalogue.h"
#include "framework/sql/dialect.h"
#include "framework/sql/routine_registry.h"
#include "framework/sql/text.h"
#include "framework/sql/tsql/token.h"
#include "support/backends.h"

namespace slownik {
namespace {

using sql::escape;

// Every statement the module issues, with realistic values filled in as the module fills
// them: text values through the quoting helper, ids and day numbers as plain integers.
struct StatementRow {
  std::string label;
  std::string sql;
  std::string routine;  //!< the stored routine it needs; empty for plain statements
};

const std::string company = "5";        // GLO:ID_FIRMY
const std::string user = "6100005";     // GLO:ID_UZYTKOWNIKA
const std::string day = "80000";        // 9 January 2020 as a day number
const std::string apostrophe = "Hurtownia 'Pod Lipą' Sp. z o.o.";

std::vector<StatementRow> semaphoreRows(const std::string& table, const std::string& id, const std::string& owner) {
  return {
      {owner + ": take the edit lock",
       "call TKW_KartotekaSemaforUstaw('" + table + "'," + id + "," + user + ",2)", "TKW_KartotekaSemaforUstaw"},
      {owner + ": release the edit lock", "call TKW_KartotekaSemaforPoloz('" + table + "'," + id + "," + user + ")",
       "TKW_KartotekaSemaforPoloz"},
      {owner + ": delete through the lock", "call TKW_KartotekaZapisSkasuj('" + table + "'," + id + "," + user + ")",
       "TKW_KartotekaZapisSkasuj"},
  };
}

// The four account owners share the shape of their default-account statements.
std::vector<StatementRow> accountOwnerRows(const std::string& owner, const std::string& accounts,
                                           const std::string& ownerTable, const std::string& ownerId) {
  const std::string account = "41";
  const std::string id = "12";
  return {
      {"accounts of " + owner + ": activity", "select aktywny from " + accounts + " where id_rachunku=" + account, ""},
      {"accounts of " + owner + ": activate", "update " + accounts + " set aktywny=1 where id_rachunku=" + account, ""},
      {"accounts of " + owner + ": set default",
       "update " + ownerTable + " set id_rachunku=" + account + " where " + ownerId + "=" + id, ""},
      {"accounts of " + owner + ": clear default",
       "update " + ownerTable + " set id_rachunku=null where " + ownerId + "=" + id, ""},
  };
}

std::vector<StatementRow> statementRows() {
  std::vector<StatementRow> rows = {
      // VAT rates, currencies, countries, provinces
      {"vat: load active rates",
       "select kod_vat, stawka from stawka_vat with (nolock) where aktywny=1 order by stawka desc,kod_vat", ""},
      {"waluty: duplicate symbol",
       "select SYM_WALUTY from WALUTY where UPPER(sym_waluty)=UPPER('" + escape("eur") + "') and sym_waluty<>'" +
           escape("USD") + "'",
       ""},
      {"waluty: rates of a currency for a day",
       "select * from dbo.TK_Func_PodajKursy_NBPECB (" + day + ",'" + escape("USD") + "')",
       "TK_Func_PodajKursy_NBPECB"},
      {"waluty: clear base currency", "update waluty set numer=0", ""},
      {"waluty: set base currency", "update waluty set NUMER=1 where sym_waluty='" + escape("PLN") + "'", ""},
      {"kraje: duplicate name or symbol",
       "select SYM_KRAJU,NAZWA from KRAJE where (UPPER(NAZWA)=UPPER('" + escape("Côte d'Ivoire") +
           "') or UPPER(SYM_KRAJU)=UPPER('" + escape("CI") + "')) and SYM_KRAJU<>'" + escape("CI") +
           "' order by SYM_KRAJU",
       ""},
      {"wojewodztwa: duplicate name",
       "select WOJEWODZTWO from WOJEWODZTWO where UPPER(WOJEWODZTWO)=UPPER('" + escape("Małopolskie") +
           "') and ID_WOJEWODZTWA<>3",
       ""},
      {"kursy walut: are there rates on a day", "call TK_Czy_SaKursyWalut(" + day + ",1)", "TK_Czy_SaKursyWalut"},
      {"kursy walut: recalculate sales prices",
       "call TK_PrzeliczCenyArtykulow(" + day + ",'" + escape("Tak") + "','" + escape("Marża") + "')",
       "TK_PrzeliczCenyArtykulow"},
      {"daty kursow: duplicate quotation day",
       "select count(*) from daty_kursow where id_daty<>7 and id_banku=1 and DATA_NOT=" + day + " and ID_DATY<>7", ""},
      {"kursy walut: duplicate rate", "select count(*) from kursy_walut where id_daty=7 and sym_waluty='" +
                                          escape("USD") + "'",
       ""},
      // banks and the branch import
      {"banki: duplicate number check",
       "select 1 from banki where numer_banku='" + escape("10201026") + "' and id_banku<>12", ""},
      {"banki import: next id", "select max(id_banku) from banki", ""},
      {"banki import: branch known", "select 1 from banki where numer_banku='" + escape("10201026") + "'", ""},
      {"banki import: insert a branch",
       "insert into banki(id_banku,numer_banku,nazwa,miejscowosc,kod_pocztowy,ulica_lokal)values(13,'" +
           escape("10201026") + "','" + escape("Bank Spółdzielczy 'Rzemiosło' O/Kraków") + "','" + escape("Kraków") +
           "','" + escape("31-072") + "','" + escape("ul. Wielicka 28") + "')",
       ""},
      // bank accounts
      {"rachunki firmy: duplicate number",
       "select 1 from rachunek_firmy where ID_FIRMY=" + company + " and ID_RACHUNKU<>41 and NUMER_RACHUNKU='" +
           escape("10201026 0000120203456789") + "'",
       ""},
      {"rachunki kontrahenta: duplicate number",
       "select 1 from rachunek_kontrahenta r ,kontrahent k  where r.id_kontrahenta=k.id_kontrahenta and k.id_firmy=" +
           company + " and k.id_kontrahenta=33 and r.ID_RACHUNKU<>41 and r.NUMER_RACHUNKU='" +
           escape("10201026 0000120203456789") + "'",
       ""},
      {"rachunki pracownika: duplicate number",
       "select 1 from rachunek_pracownika where ID_PRACOWNIKA=21 and ID_RACHUNKU<>41 and  NUMER_RACHUNKU='" +
           escape("10201026 0000120203456789") + "'",
       ""},
      {"rachunki urzedu: duplicate number",
       "select 1 from rachunek_urzedu where ID_RACHUNKU<>41 and ID_URZEDU=9 and  NUMER_RACHUNKU='" +
           escape("10100071 2221000000") + "'",
       ""},
      {"rachunki firmy: default per currency",
       "select 1 from rachunek_firmy where ID_FIRMY=" + company + " and ID_RACHUNKU<>41 and  SYM_WALUTY='" +
           escape("EUR") + "' and DOMYSLNY_WAL=1",
       ""},
      {"rachunki: change log",
       "call TK_ZapiszDoLogu(" + company + ",4," + user + ",4,'" + escape("RACHUNEK_FIRMY") + "',2,'" +
           escape("61 10201026 0000120203456789") + "',3)",
       "TK_ZapiszDoLogu"},
      {"rachunki firmy: right to edit company data",
       "select count(1) from DOSTEP d inner join UZYTKOWNIKGRUPY u on (d.id_grupy=u.id_grupy) where "
       "d.kod='EDanePodm' and d.id_firmy=" +
           company + " and d.rodzaj_dostepu>0 and u.id_uzytkownika=" + user,
       ""},
      {"rachunki wirtualne: delete", "delete from RACHUNEK_WIRTUALNY where id_rachunku =41", ""},
      {"rachunki wirtualne: clear own default",
       "update RACHUNEK_WIRTUALNY set czy_domyslny=0 from RACHUNEK_WIRTUALNY r where r.id_rachunku =41", ""},
      {"rachunki wirtualne: set own default",
       "update RACHUNEK_WIRTUALNY set czy_domyslny=1 from RACHUNEK_WIRTUALNY r where r.id_rachunku =41", ""},
      {"rachunki firmy: load defaults per currency",
       "select id_rachunku,sym_waluty from rachunek_firmy with (nolock) where id_firmy=" + company +
           " and domyslny_wal=1",
       ""},
      // interest tables
      {"tabele odsetek: unique name",
       "call TK_CzyNazwaJestUnikalna(" + company + ",'" + escape("Odsetki 'za opóźnienie'") + "',3,'tabela_odsetek')",
       "TK_CzyNazwaJestUnikalna"},
      {"odsetki: date range", "select 1 from odsetki where id_tabeli_odsetek=3 and do_dnia<od_dnia", ""},
      {"odsetki: duplicate start", "select od_dnia from odsetki where ID_TABELI_ODSETEK=3 and OD_DNIA=" + day +
                                       " and DO_DNIA<>0",
       ""},
      {"odsetki: previous period", "select top 1 od_dnia from odsetki  where ID_TABELI_ODSETEK=3 and  od_dnia<" + day +
                                       " order by od_dnia desc",
       ""},
      {"odsetki: end the previous period",
       "update odsetki set do_dnia=79999 where ID_TABELI_ODSETEK=3 and  od_dnia=79000", ""},
      {"odsetki: next period", "select top 1 od_dnia-1 from odsetki  where ID_TABELI_ODSETEK=3 and  od_dnia>" + day +
                                   " order by od_dnia",
       ""},
      {"odsetki: end the new period", "update odsetki set do_dnia=80499 where ID_TABELI_ODSETEK=3 and  od_dnia=" + day,
       ""},
      {"odsetki: previous takes over the deleted end",
       "update odsetki set do_dnia=80499 where ID_TABELI_ODSETEK=3 and od_dnia=79000", ""},
      // tax offices, cash desks
      {"urzedy: unique name",
       "select isnull(id_urzedu,0) from URZEDY where NAZWA='" + escape("Urząd Skarbowy w Kędzierzynie-Koźlu") + "'",
       ""},
      {"kasy: duplicate symbol", "select count(*) from kasy_firmy  where symbol='" + escape("K1") +
                                     "' and id_kasy<>2 and id_firmy=" + company,
       ""},
      {"kasy: duplicate name", "select count(*) from kasy_firmy  where nazwa='" + escape("Kasa 'główna'") +
                                   "' and id_kasy<>2 and id_firmy=" + company,
       ""},
      // company, addresses
      {"adresy firmy: datetime copy of the start day",
       "update adresy_firmy set KP_DATA_OD = CAST((DATA_OD-36163) AS datetime) where ID_ADRESY_FIRMY=15", ""},
      {"firma: duplicate name",
       "select count(*) from FIRMA where id_firmy<>" + company + " and nazwa='" + escape(apostrophe) + "'", ""},
      {"firma: has a seat address",
       "select count(*) from ADRESY_FIRMY with (nolock) where id_firmy=" + company + " and TYP_ADRESU='S'", ""},
      {"adresy firmy: duplicate start day",
       "select id_adresy_firmy from adresy_firmy where ID_FIRMY=" + company + " and TYP_ADRESU='" + escape("S") +
           "' and DATA_OD=" + day,
       ""},
      // employees
      {"pracownicy: duplicate", "call TK_PowielPracownika(" + company + "," + user + ",21)", "TK_PowielPracownika"},
      {"pracownicy: archive", "call TK_ArchiwizujPracownika(21,1," + user + ")", "TK_ArchiwizujPracownika"},
      {"pracownicy: unique NIP",
       "call TK_CzyNipJestUnikalny(" + company + ",'" + escape("5260250274") + "',21,'pracownik')",
       "TK_CzyNipJestUnikalny"},
      {"pracownicy: list filter",
       "select count(*) from PRACOWNIK a where a.nr_ewidencyjny like '" + escape("12") + "%' and a.nazwisko like '" +
           escape("O'Neill") + "%'and a.DATA_URODZENIA = 31000 and a.imie_1 like '" + escape("Jan") +
           "%' and a.pesel like '" + escape("8501") + "%' and a.nip like '" + escape("526") + "%'",
       ""},
      {"pracownicy: archive filter", "select count(*) from PRACOWNIK A where A.archiwum=2", ""},
      {"pracownicy: additional tables query",
       "select A.ID_PRACOWNIKA FROM PRACOWNIK A WHERE A.ID_FIRMY=" + company +
           " AND A.ARCHIWUM=1 ORDER BY A.NAZWISKO ASC",
       ""},
      {"pracownik: duplicate personnel number",
       "select count(*) from pracownik where id_pracownika<>21 and id_firmy=" + company + " and nr_ewidencyjny='" +
           escape("P/0012") + "'",
       ""},
      {"pracownik: user already linked", "select count(*) from pracownik where id_uzytkownika=" + user +
                                             " and id_pracownika<>21 and id_firmy=" + company,
       ""},
      {"adresy pracownika: duplicate start day",
       "select id_adresy_PRAC from adresy_PRACOWNIKA where ID_PRACOWNIKA=21 and TYP_ADRESU='S' and DATA_OD=" + day, ""},
      // warehouses
      {"magazyny: delete", "call TK_UsunMagazyn(4," + user + ")", "TK_UsunMagazyn"},
      {"magazyny: start synchronisation", "call RM_StartSynchro(" + company + ",1,4)", "RM_StartSynchro"},
      {"magazyny: log", "call TK_ZapiszDoLogu(" + company + ",4," + user + ",4,'MAGAZYN',1,'" + escape("MAG-1") + "',3)",
       "TK_ZapiszDoLogu"},
      {"magazyny: is the row marked", "select dbo.RM_Func_CzyZaznaczony(7," + user + ",4)", "RM_Func_CzyZaznaczony"},
      {"magazyny: synchronisation mark",
       "select rtrim(isnull(wyroznik_synchronizacji,'')) from magazyn where id_magazynu=4", ""},
      {"magazyny: synchronisation filter",
       "select count(*) from MAGAZYN a where len(rtrim(Wyroznik_Synchronizacji))>0 and Wyroznik_Synchronizacji = '" +
           escape("A1") + "'",
       ""},
      {"magazyny: marked only filter",
       "select count(*) from MAGAZYN a where a.id_magazynu in (select id from zaznaczone where uzycie=7 and id_sesji=" +
           user + ")",
       ""},
      {"magazyn: document header", "select naglowek from firma with (nolock) where id_firmy=" + company, ""},
      {"magazyn: account text", "select LK+' '+NUMER_RACHUNKU from rachunek_firmy  with (nolock) where id_rachunku=41",
       ""},
      {"magazyn: duplicate symbol", "select id_magazynu from magazyn where id_firmy=" + company + " and SYMBOL='" +
                                        escape("MAG-1") + "' and ID_MAGAZYNU<>4",
       ""},
      {"magazyn: warehouses with the mark", "select count(*) from magazyn where id_firmy=" + company +
                                                " and Wyroznik_synchronizacji='" + escape("A1") + "' and ID_MAGAZYNU<>4",
       ""},
      {"magazyn: articles to create",
       "select count(*) from (select a.indeks_katalogowy from artykul a,magazyn m where a.id_magazynu=m.id_magazynu "
       "and m.id_firmy=" +
           company + " and  Wyroznik_synchronizacji='" + escape("A1") + "' group by a.indeks_katalogowy) x",
       ""},
      // related persons
      {"osoby powiazane: remove default", "update osoba_powiazana set CZY_DOMYSLNY=0 where ID_OSOPOW=8", ""},
      {"osoby powiazane: clear defaults of the role",
       "update osoba_powiazana set CZY_DOMYSLNY=0 where ID_KONTRAHENTA=33 and FUNKCJA='" + escape("Odbiorca") +
           "' and DOKUMENT=1",
       ""},
      {"osoby powiazane: set default", "update osoba_powiazana set CZY_DOMYSLNY=1 where ID_OSOPOW=8", ""},
      {"osoba powiazana: first matching contact",
       "Select top 1 id_kontaktu from kontakt with (nolock) where id_kontrahenta = 33 and rtrim(nazwisko)+' '+rtrim(imie) "
       "like  '%" +
           escape("O'Neill Jan") + "%'",
       ""},
      {"osoba powiazana: duplicate on insert",
       "select count(1) from osoba_powiazana where id_kontrahenta=33 and nazwa='" + escape("Jan O'Neill") + "'", ""},
      {"osoba powiazana: duplicate on change",
       "select count(1) from osoba_powiazana where  id_kontrahenta=33 and id_osopow<>8 and nazwa='" +
           escape("Jan O'Neill") + "'",
       ""},
      // companies
      {"firmy: set up a new company", "call TK_InicjacjaSystemu(" + company + ")", "TK_InicjacjaSystemu"},
      {"firmy: connect", "call TK_PracujZFirma(" + company + "," + user + ",1)", "TK_PracujZFirma"},
      {"firmy: user in a group of the company",
       "select count(*) from uzytkownikgrupy u, grupauzytkownikow g where g.id_firmy=" + company +
           " and g.id_grupy=u.id_grupy and u.id_uzytkownika=" + user,
       ""},
      {"firmy: any right in the company",
       "select count(*) from DOSTEP where kod='SYS' and id_firmy=" + company + " and rodzaj_dostepu>0", ""},
      {"firmy: join the administrators",
       "insert into uzytkownikgrupy(id_grupy,id_uzytkownika) select id_grupy," + user +
           " from grupauzytkownikow where id_firmy=" + company + " and nazwa='Administratorzy'",
       ""},
      {"firmy: users at work in the company",
       "select sum(czy_praca),sum(czy_rembil) from stan_uzytkownika_w_mag where  id_magazynu in(select id_magazynu "
       "from magazyn where id_firmy=" +
           company + ")",
       ""},
      // document settings
      {"klasyfikacje: duplicate name",
       "select count(*) from klasyfikacja_kontrahenta  where id_firmy=" + company + " and nazwa='" +
           escape("Odbiorcy 'hurtowi'") + "' and id_klasyfikacji<>3",
       ""},
      {"klasyfikacje: one default",
       "update KLASYFIKACJA_KONTRAHENTA set domyslna=0 where ID_FIRMY=" + company + " and id_klasyfikacji<>3", ""},
      {"typy dokumentow magazynowych: unique signature",
       "select count(*) from typ_dokumentu_magazynowego where id_typu<>31 and rtrim(sygnatura)='" + escape("PZ") +
           "' and id_firmy=" + company,
       ""},
      {"typy dokumentow magazynowych: drop numbering",
       "delete from numeracja where id_firmy=" + company + " and dokument=1 and typ_dokumentu=31", ""},
      {"typy dokumentow magazynowych: numbering",
       "call RM_DodajDefinicjeNumeracji(" + company + ",31,'" + escape("PZ") + "',1,1)", "RM_DodajDefinicjeNumeracji"},
      {"typy dokumentow handlowych: drop numbering",
       "delete from numeracja where id_firmy=" + company + " and dokument=4 and typ_dokumentu=31", ""},
      {"typy dokumentow finansowych: drop numbering",
       "delete from numeracja where id_firmy=" + company + " and dokument=3 and typ_dokumentu=31", ""},
      {"formy platnosci: list filter", "select count(*) from FORMA_PLATNOSCI A where A.ID_FIRMY IN (0," + company + ")",
       ""},
      {"formy platnosci: picker filter", "select count(*) from FORMA_PLATNOSCI A where A.ID_FIRMY IN (0," + company +
                                             ") AND A.AKTYWNA=1",
       ""},
      {"formy platnosci: cash and card filter", "select count(*) from FORMA_PLATNOSCI A where A.kod in ('g','k')", ""},
      {"formy platnosci: position on a name",
       "select top 1 id_formy from FORMA_PLATNOSCI where nazwa='" + escape("Przelew 'ekspresowy'") + "'", ""},
      {"formy platnosci: switch active", "update forma_platnosci set AKTYWNA=0 where ID_FORMY=6", ""},
      {"forma platnosci: operator name", "select nazwa from kontrahent where id_kontrahenta=33 and id_firmy=" + company,
       ""},
      {"forma platnosci: operators only",
       "select count(*) from KONTRAHENT A where A.OPERATOR_PLATNOSCI=1", ""},
      {"forma platnosci: duplicate name",
       "select nazwa from forma_platnosci where upper(nazwa)=upper('" + escape("Przelew 'ekspresowy'") +
           "') and id_formy<>6",
       ""},
      {"forma platnosci: duplicate code",
       "select nazwa from forma_platnosci where upper(kod)=upper('" + escape("p") + "') and id_formy<>6", ""},
      {"forma platnosci: cash and card only",
       "select count(*) from forma_platnosci A where A.ID_FIRMY=" + company + " and upper(A.KOD) in ('G','K')", ""},
      {"rodzaje operacji: duplicate code",
       "select count(*) from rodzaj_operacji_fin where upper(kod_operacji)=upper('" + escape("KP") + "')", ""},
      // orders
      {"statusy zamowien: rebuild the status list", "call TKB_IntS_RM_TKBM_DocStatusListInit",
       "TKB_IntS_RM_TKBM_DocStatusListInit"},
      {"statusy zamowien: unique code",
       "select 1 from VEX_SLOWNIK_STATUSOW_DOKUMENTOW with (nolock) where id_statusu<>2 and TYP_DOKUMENTU = '" +
           escape("Z") + "' and KOD_STATUSU='" + escape("WYS") + "'",
       ""},
      {"historia statusow: order number", "select numer from zamowienie with (nolock) where id_zamowienia=17", ""},
      {"historia statusow: users",
       "select nazwa,identyfikator,id_uzytkownika from uzytkownik with (nolock) order by identyfikator", ""},
      {"historia statusow: list filter",
       "select count(*) from WIDOK_REJESTR_ZMIAN_STATUSOW_ZAMOWIEN A where A.IdZamowienia=17 and A.IdUzytkownika=" +
           user,
       ""},
      {"historia statusow: delete one",
       "delete from WIDOK_REJESTR_ZMIAN_STATUSOW_ZAMOWIEN where IdRejestruZmian=40", ""},
      {"historia statusow: delete the range",
       "delete WIDOK_REJESTR_ZMIAN_STATUSOW_ZAMOWIEN from WIDOK_REJESTR_ZMIAN_STATUSOW_ZAMOWIEN a where "
       "A.IdZamowienia=17 and A.IdUzytkownika=" +
           user,
       ""},
      // labels, contacts, internet users
      {"etykiety: kind filter", "select count(*) from ETYKIETA_DOKUMENTU A where SUBSTRING(dokument,3,1)='1'", ""},
      {"kontakty: contractor kind",
       "select isnull(odbiorca,0)*2+isnull(dostawca,0) from kontrahent with (nolock) where id_kontrahenta=33", ""},
      {"kontakty: tasks of the contact", "select count(*) from crm_inter_kontakt where id_kontaktu=51", ""},
      {"kontakty: contractor label",
       "select rtrim(nazwa)+'-'+rtrim(NIP) from kontrahent with (nolock) where id_kontrahenta=33", ""},
      {"kontakty: log",
       "call  TK_ZapiszDoLogu(" + company + ",0," + user + ",33,'KONTRAHENT',2,'" +
           escape("D'Agostino Sp. z o.o.-5260250274") + "',3,'" + escape("Dodawanie kontaktu O'Neill Jan jan@firma.pl") +
           "')",
       "TK_ZapiszDoLogu"},
      {"uzytkownicy internetowi: contractor name", "select nazwa from kontrahent where id_kontrahenta=33", ""},
      {"uzytkownicy internetowi: list",
       "select nazwisko, imie, id_int_uzytkownik,aktywny from int_uzytkownik where id_kontrahenta=33", ""},
      {"uzytkownicy internetowi: delete", "delete from int_uzytkownik where id_int_uzytkownik=60", ""},
      {"uzytkownik internetowy: new", "call TK_DodajHaslo_0001_002_HASLO_INTER(33)",
       "TK_DodajHaslo_0001_002_HASLO_INTER"},
      {"uzytkownik internetowy: read",
       "select id_int_uzytkownik,haslo,aktywny,nazwisko,imie from int_uzytkownik where id_int_uzytkownik=60", ""},
      {"uzytkownik internetowy: save",
       "update int_uzytkownik set haslo='" + escape("tajne'hasło") + "',aktywny=1,nazwisko='" + escape("O'Neill") +
           "',imie='" + escape("Jan") + "' where id_int_uzytkownik=60",
       ""},
      {"uzytkownik internetowy: drop the unsaved row", "delete int_uzytkownik  where id_int_uzytkownik=60", ""},
      // SMS
      {"szablony sms: without Polish letters",
       "select dbo.TK_Func_BezPolskichZnakow('" + escape("Dzień dobry, zapraszamy do 'Sklepu Pod Lipą'") + "')",
       "TK_Func_BezPolskichZnakow"},
      {"szablony sms: duplicate name on insert",
       "select count(1) from SMS_SZABLON where nazwa='" + escape("Zamówienie 'gotowe'") + "' and id_firmy=" + company,
       ""},
      {"szablony sms: duplicate name on change",
       "select count(1) from SMS_SZABLON where  ID_SMS_SZABLONU<>3 and nazwa='" + escape("Zamówienie 'gotowe'") +
           "' and id_firmy=" + company,
       ""},
      {"sledzenie url: generate key", "call KS_SMS_UTWORZ_TRACKING_URL(8," + company + ")",
       "KS_SMS_UTWORZ_TRACKING_URL"},
      {"sledzenie url: duplicate name on insert",
       "select count(1) from SMS_TRACKING_URL where nazwa='" + escape("Promocja 'wiosna'") + "' and id_firmy=" + company,
       ""},
      {"sledzenie url: duplicate name on change",
       "select count(1) from SMS_TRACKING_URL where  ID_TRACKING_URL<>8 and nazwa='" + escape("Promocja 'wiosna'") +
           "' and id_firmy=" + company,
       ""},
      {"sledzenie url: check conversions", "call KS_SMS_SPRAWDZ_KONWERSJE_TRACKING_URL(8," + company + ")",
       "KS_SMS_SPRAWDZ_KONWERSJE_TRACKING_URL"},
      {"sledzenie url: message sent", "call KS_SMS_ZAPISZ_WYSLANIE('abc','600100200')", "KS_SMS_ZAPISZ_WYSLANIE"},
      {"sledzenie url: address clicked", "call KS_SMS_ZAPISZ_KLIKNIECIE('abc')", "KS_SMS_ZAPISZ_KLIKNIECIE"},
  };
  for (auto&& part : {semaphoreRows("banki", "12", "banki"), semaphoreRows("tabela_odsetek", "3", "tabele odsetek"),
                      semaphoreRows("urzedy", "9", "urzedy"), semaphoreRows("pracownik", "21", "pracownicy"),
                      semaphoreRows("firma", company, "firmy"), semaphoreRows("kontrahent", "33", "kontakty"),
                      accountOwnerRows("firma", "rachunek_firmy", "firma", "id_firmy"),
                      accountOwnerRows("kontrahent", "rachunek_kontrahenta", "kontrahent", "id_kontrahenta"),
                      accountOwnerRows("pracownik", "rachunek_pracownika", "pracownik", "id_pracownika"),
                      accountOwnerRows("urzad", "rachunek_urzedu", "urzedy", "id_urzedu")})
    rows.insert(rows.end(), part.begin(), part.end());
  return rows;
}

// Words that only T-SQL understands; none may survive translation.
std::string leftoverIdiom(const std::string& translated) {
  auto tokens = sql::tsql::tokenize(translated);
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    for (const char* word : {"nolock", "dbo", "isnull", "len", "getdate"})
      if (sql::tsql::isWord(tokens[i], word)) return word;
    std::size_t before = sql::tsql::previousSignificant(tokens, i);
    if (before == sql::tsql::npos) continue;
    if (sql::tsql::isWord(tokens[i], "top") && sql::tsql::isWord(tokens[before], "select")) return "top";
    if (sql::tsql::isWord(tokens[i], "datetime") && sql::tsql::isWord(tokens[before], "as")) return "AS datetime";
  }
  return {};
}

// The rows the statements name, so that routines find their records and refuse nothing.
class Statements : public test::DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    seed("FIRMA", {{"ID_FIRMY", company}, {"NAZWA", "'Firma'"}});
    seed("WALUTY", {{"SYM_WALUTY", "'PLN'"}, {"NUMER", "1"}});
    seed("BANKI", {{"ID_BANKU", "12"}});
    seed("TABELA_ODSETEK", {{"ID_TABELI_ODSETEK", "3"}, {"ID_FIRMY", company}});
    seed("URZEDY", {{"ID_URZEDU", "9"}});
    seed("PRACOWNIK", {{"ID_PRACOWNIKA", "21"}, {"ID_FIRMY", company}});
    seed("KONTRAHENT", {{"ID_KONTRAHENTA", "33"}, {"ID_FIRMY", company}});
    seed("SMS_TRACKING_URL", {{"ID_TRACKING_URL", "8"}, {"ID_FIRMY", company}, {"KLUCZ_SLEDZENIA", "'abc'"}});
    seed("SMS_WYSLANA", {{"ID_WYSLANEJ", "1"}, {"KLUCZ_SLEDZENIA", "'abc'"}, {"DATA", "1"}});
  }

  // One row: the given values, and a zero or empty text in every other column that needs one.
  void seed(const std::string& tableName, const std::vector<std::pair<std::string, std::string>>& values) {
    const sql::TableDef* table = sql::Catalogue::instance().find(tableName);
    if (!table) return;  // reported by the statements that need it
    std::string names, texts;
    auto add = [&](const std::string& name, const std::string& text) {
      names += (names.empty() ? "" : ",") + name;
      texts += (texts.empty() ? "" : ",") + text;
    };
    for (const auto& [name, text] : values)
      if (table->column(name)) add(name, text);
    for (const auto& c : table->columns) {
      bool given = false;
      for (const auto& v : values) given = given || sql::equalsIgnoreCase(v.first, c.name);
      if (given || c.nullable) continue;
      bool text = c.type == sql::ColumnType::Text || c.type == sql::ColumnType::Memo;
      add(c.name, text ? "''" : "0");
    }
    exec("INSERT INTO " + table->name + " (" + names + ") VALUES (" + texts + ")");
  }
};

TEST_P(Statements, EveryStatementTranslatesAndRuns) {
  auto& registry = sql::RoutineRegistry::instance();
  int checked = 0;
  for (const auto& row : statementRows()) {
    std::string translated = db().dialect().translate(row.sql);
    EXPECT_EQ(leftoverIdiom(translated), "") << row.label << ": " << translated;
    if (!row.routine.empty() && !registry.contains(row.routine)) continue;
    ++checked;
    // Each statement in a savepoint of its own, so that one failure leaves the next intact.
    sql::Transaction tx(db());
    sql::Status s = db().run(row.sql);
    EXPECT_TRUE(s.isOk()) << row.label << "\n  " << row.sql << "\n  " << translated << "\n  " << s.message();
  }
  EXPECT_GT(checked, 0);
}

TEST(StatementTable, LabelsAreUniqueAndApostrophesAreDoubled) {
  auto rows = statementRows();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    for (std::size_t j = i + 1; j < rows.size(); ++j) EXPECT_NE(rows[i].label, rows[j].label);
    // A lone apostrophe inside a value would end its literal early: every literal must close.
    auto tokens = sql::tsql::tokenize(rows[i].sql);
    for (const auto& t : tokens) {
      if (t.kind != sql::tsql::TokenKind::String) continue;
      EXPECT_TRUE(t.text.size() >= 2 && t.text.back() == '\'') << rows[i].label;
    }
  }
}

SLOWNIK_ON_ALL_BACKENDS(Statements);

}  // namespace
}  // namespace slownik
