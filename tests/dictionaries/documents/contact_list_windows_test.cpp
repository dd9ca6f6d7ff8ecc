// The contacts of a contractor played through the headless front-end, with a stand-in for
// the sibling module's contact form.
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "dictionaries/documents/contact_list.h"
#include "dictionaries/documents/contact_list_columns.h"
#include "dictionaries/documents/contact_list_sibling_form.h"
#include "framework/services/procedure_registry.h"
#include "engine/window_fixture.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/keys.h"
#include "framework/runtime/list_format.h"
#include "framework/services/browser_columns.h"
#include "framework/services/sql_services.h"

namespace slownik::documents {
namespace {

constexpr std::size_t kSurname = 0;
constexpr const char* kBoth = "Hurtownia Żuraw";  // seeded contractor 1: supplier and recipient

// What the sibling's form saw: the requests and the contractor's lock while it ran.
struct SiblingCalls {
  std::mutex mutex;
  std::vector<int> requests;
  std::vector<std::string> locks;
};

class ContactListWindows : public test::WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    exec("DELETE FROM KONTAKT");
    exec("INSERT INTO KONTAKT (ID_KONTAKTU, ID_KONTRAHENTA, NAZWISKO, IMIE, E_MAIL, GG_NR, SKYPE_NR) VALUES "
         "(1, 1, 'Nowak', 'Anna', 'anna@zuraw.pl', '12345', ''), "
         "(2, 1, 'Kowalski', 'Jan', '', '', 'jkowal'), "
         "(3, 2, 'Inny', 'Ktoś', '', '', '')");
    exec("INSERT INTO CRM_INTER_KONTAKT (ID_ZADANIA_KONTAKTU, ID_KONTAKTU, ID_ZADANIA) VALUES (1, 1, 7)");
    calls_ = std::make_shared<SiblingCalls>();
  }
  void TearDown() override {
    svc::installProcedure(kContactFormProcedure, {});
    WindowFixture::TearDown();
  }

  // A stand-in for the sibling's form: a new contact is "O'Hara Scarlett", a change adds
  // "!" to the surname, a delete removes the row; each answers completed.
  void installSibling() {
    auto calls = calls_;
    svc::installProcedure(kContactFormProcedure, [calls](const svc::ProcedureArgs&) {
      int request = data::GLOBALREQUEST();
      data::GLOBALREQUEST() = data::kNoRequest;
      {
        std::lock_guard lock(calls->mutex);
        calls->requests.push_back(request);
        calls->locks.push_back(svc::FUNCSQL("select semafor from kontrahent where id_kontrahenta=1"));
      }
      std::string id = data::field("KNTK:ID_KONTAKTU").text();
      if (request == data::kInsertRecord) {
        data::field("KNTK:NAZWISKO").set("O'Hara");
        data::field("KNTK:IMIE").set("Scarlett");
        data::field("KNTK:E_MAIL").set("s@tara.us");
        svc::EXECSQL("insert into kontakt (id_kontaktu, id_kontrahenta, nazwisko, imie, e_mail) values (9, " +
                     data::field("KNTK:ID_KONTRAHENTA").text() + ", 'O''Hara', 'Scarlett', 's@tara.us')");
      } else if (request == data::kChangeRecord) {
        svc::EXECSQL("update kontakt set nazwisko = nazwisko + '!' where id_kontaktu=" + id);
      } else if (request == data::kDeleteRecord) {
        svc::EXECSQL("delete from kontakt where id_kontaktu=" + id);
      }
      data::GLOBALRESPONSE() = request == data::kViewRecord ? data::kRequestCancelled : data::kRequestCompleted;
    });
  }
  std::vector<int> requests() {
    std::lock_guard lock(calls_->mutex);
    return calls_->requests;
  }
  std::vector<std::string> locks() {
    std::lock_guard lock(calls_->mutex);
    return calls_->locks;
  }

  void openContacts(int kind, int readOnly = 0, double contractor = 1, std::string name = std::string(kBoth) + "   ") {
    start([=] {
      KONTAKT_BRW_LOC(static_cast<std::uint8_t>(kind), static_cast<std::uint8_t>(readOnly), contractor, name);
    });
  }
  std::shared_ptr<rt::Window> openList(int kind = kContractorBoth, int readOnly = 0) {
    openContacts(kind, readOnly);
    return window(std::string("Lista kontaktów kontrahenta ") + kBoth);
  }
  void onRow(const std::shared_ptr<rt::Window>& w, const std::string& surname) {
    int row = rowOf(w, kSurname, surname);
    ASSERT_GT(row, 0) << surname;
    ASSERT_TRUE(fe().clickRow(w, "?LIST", row));
  }
  std::vector<std::string> logEntries() {
    std::vector<std::string> out;
    sql::Result r;
    EXPECT_TRUE(db().execute("SELECT OPIS, SZCZEGOLY FROM LOG_ZDARZEN WHERE TABELA = 'KONTRAHENT' AND ID_REKORDU = 1 "
                             "ORDER BY ID_ZDARZENIA", {}, &r).isOk());
    for (std::size_t i = 0; i < r.rows.size(); ++i) out.push_back(r.text(i, 0) + " | " + r.text(i, 1));
    return out;
  }
  std::string lockOfContractor() { return scalar("SELECT COALESCE(SEMAFOR, 0) FROM KONTRAHENT WHERE ID_KONTRAHENTA = 1"); }

  std::shared_ptr<SiblingCalls> calls_;
};

TEST_P(ContactListWindows, OpeningNeedsTheRightsOfTheContractorsKind) {
  const struct {
    std::vector<const char*> rights;
    int kind;
    double contractor;
    const char* refusal;  // nullptr: the list opens
  } cases[] = {
      {{}, kContractorRecipient, 2, "Brak uprawnień na dostęp do kontrahentów!"},
      {{"Kontr"}, kContractorSupplier, 2, "Brak uprawnień na dostęp do kontrahentów (dostawców)!"},
      {{"Kontr", "OKontrD"}, kContractorRecipient, 2, "Brak uprawnień na dostęp do kontrahentów (odbiorców)!"},
      {{"Kontr", "OKontrO"}, kContractorBoth, 2, "Brak uprawnień na dostęp do kontrahentów (dostawców)!"},
      // Kind unknown: read from the contractor (1 is both, 2 only a recipient).
      {{"Kontr", "OKontrO"}, kContractorUnknown, 1, "Brak uprawnień na dostęp do kontrahentów (dostawców)!"},
      {{"Kontr", "OKontrD"}, kContractorUnknown, 2, "Brak uprawnień na dostęp do kontrahentów (odbiorców)!"},
      {{"Kontr", "OKontrO"}, kContractorUnknown, 2, nullptr},
  };
  asUser(sql::demo::kUserId);
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.rights) + " kind " + std::to_string(c.kind));
    exec("DELETE FROM DOSTEP WHERE ID_GRUPY = " + std::to_string(sql::demo::kUserGroupId));
    for (const char* right : c.rights) grant(right);
    if (c.refusal) {
      fe().expectMessage(rt::button::Ok, c.refusal);
      openContacts(c.kind, 0, c.contractor, "O'Neill Polska");
      join();
      EXPECT_TRUE(fe().waitForMessages(1));
    } else {
      openContacts(c.kind, 0, c.contractor, "O'Neill Polska");
      auto w = window("Lista kontaktów kontrahenta O'Neill Polska");
      ASSERT_TRUE(w);
      EXPECT_EQ(column(w, kSurname), (std::vector<std::string>{"Inny"}));
      fe().press(w, rt::key::Esc);
      join();
    }
    fe().reset();
  }
}

TEST_P(ContactListWindows, ListsTheContractorsContactsWithMessengerIcons) {
  data::glo().KONTRAHENT_RESPONSE.set("stara odpowiedź");
  auto w = openList();
  ASSERT_TRUE(w);
  EXPECT_EQ(data::glo().KONTRAHENT_RESPONSE.get(), "");
  ASSERT_EQ(column(w, kSurname), (std::vector<std::string>{"Kowalski", "Nowak"}));
  auto format = rt::ListFormat::parse(w->control("?LIST")->format);
  ASSERT_TRUE(format);
  const auto gg = static_cast<std::size_t>(format->columns[9].iconField - 1);
  const auto skype = static_cast<std::size_t>(format->columns[10].iconField - 1);
  EXPECT_EQ(column(w, gg), (std::vector<std::string>{"0", "1"}));
  EXPECT_EQ(column(w, skype), (std::vector<std::string>{"2", "0"}));
  EXPECT_TRUE(w->control("?SELECT")->hidden);
  EXPECT_TRUE(w->control("?VIEW")->enabled);
  ASSERT_TRUE(fe().type(w, "?LOKATOR", "no"));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(w->control("?LIST")->selection, 2);
  fe().press(w, rt::key::Esc);
  join();

  // A contractor without contacts: nothing to show.
  openContacts(kContractorBoth, 0, 99, "Nowy");
  w = window("Lista kontaktów kontrahenta Nowy");
  ASSERT_TRUE(w);
  EXPECT_TRUE(rows(w).empty());
  EXPECT_FALSE(w->control("?VIEW")->enabled);
  fe().press(w, rt::key::Esc);
}

TEST_P(ContactListWindows, EditsRunUnderTheContractorsLockAndAreLogged) {
  installSibling();
  auto w = openList();
  ASSERT_TRUE(w);
  const std::string admin = std::to_string(sql::demo::kAdminUserId);

  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  ASSERT_TRUE(fe().settle(w));
  onRow(w, "Kowalski");
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(column(w, kSurname), (std::vector<std::string>{"Kowalski!", "Nowak", "O'Hara"}));
  EXPECT_EQ(requests(), (std::vector<int>{data::kInsertRecord, data::kChangeRecord}));
  EXPECT_EQ(locks(), (std::vector<std::string>{admin, admin})) << "the form runs under the contractor's lock";
  EXPECT_EQ(lockOfContractor(), "0") << "and the lock is released after it";

  // A contact with tasks of the customer-relations module: deleted only when confirmed.
  onRow(w, "Nowak");
  const char* tasks = "Kontakt, który chcesz usunąć posiada przypisane zadania cRm.|Czy usunąć kontakt?";
  fe().expectMessage(rt::button::No, tasks);
  ASSERT_TRUE(fe().press(w, rt::key::Del));
  ASSERT_TRUE(fe().settle(w));
  ASSERT_EQ(fe().messages().size(), 1u);
  EXPECT_EQ(fe().messages()[0].title, "TRAMEL: Pytanie");
  EXPECT_EQ(requests().size(), 2u);
  fe().expectMessage(rt::button::Yes, tasks);
  ASSERT_TRUE(fe().press(w, rt::key::Del));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(column(w, kSurname), (std::vector<std::string>{"Kowalski!", "O'Hara"}));

  EXPECT_EQ(logEntries(), (std::vector<std::string>{
                              "Hurtownia Żuraw-6771000202 | Dodawanie kontaktu O'Hara Scarlett s@tara.us",
                              "Hurtownia Żuraw-6771000202 | Edycja kontaktu Kowalski Jan ",
                              "Hurtownia Żuraw-6771000202 | Usunięcie kontaktu Nowak Anna anna@zuraw.pl",
                          }));

  // Another user holds the contractor: no form, nothing logged, the lock stays theirs.
  exec("UPDATE KONTRAHENT SET SEMAFOR = 6100099 WHERE ID_KONTRAHENTA = 1");
  fe().expectMessage(rt::button::Ok, "Kontrahent jest aktualizowany przez innego użytkownika!");
  onRow(w, "O'Hara");
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(requests().size(), 3u);
  EXPECT_EQ(lockOfContractor(), "6100099");
  EXPECT_EQ(logEntries().size(), 3u);
  fe().press(w, rt::key::Esc);
}

TEST_P(ContactListWindows, RefusalsAndViewingChangeNothing) {
  installSibling();
  exec("DELETE FROM DOSTEP WHERE ID_GRUPY = " + std::to_string(sql::demo::kUserGroupId));
  grant("Kontr");
  grant("OKontrD");
  grant("OKontrO");
  asUser(sql::demo::kUserId);
  auto w = openList();
  ASSERT_TRUE(w);
  for (int key : {rt::key::Ins, rt::key::F2}) {
    fe().expectMessage(rt::button::Ok, "Brak uprawnień na edytowanie danych kontrahentów!");
    ASSERT_TRUE(fe().press(w, key));
    ASSERT_TRUE(fe().settle(w));
  }
  EXPECT_TRUE(requests().empty());
  fe().press(w, rt::key::Esc);
  join();

  // Read only: the editing buttons are gone; Shift+F2 shows the contact, without a lock.
  asUser(sql::demo::kAdminUserId);
  w = openList(kContractorBoth, 1);
  ASSERT_TRUE(w);
  for (const char* b : {"?INSERT", "?CHANGE", "?DELETE"}) {
    EXPECT_TRUE(w->control(b)->hidden) << b;
    EXPECT_FALSE(w->control(b)->enabled) << b;
  }
  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  ASSERT_TRUE(fe().settle(w));
  onRow(w, "Nowak");
  ASSERT_TRUE(fe().click(w, "?VIEW"));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(requests(), (std::vector<int>{data::kViewRecord}));
  EXPECT_EQ(locks(), (std::vector<std::string>{"0"}));
  EXPECT_TRUE(logEntries().empty());
  fe().press(w, rt::key::Esc);
  join();

  // Without a sibling's form ours opens; cancelled, it changes nothing and gives the lock back.
  svc::installProcedure(kContactFormProcedure, {});
  w = openList();
  ASSERT_TRUE(w);
  onRow(w, "Nowak");
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  auto form = window("Edycja kontaktu");
  ASSERT_TRUE(form);
  EXPECT_EQ(form->value("?KNTK:NAZWISKO"), "Nowak");
  EXPECT_EQ(lockOfContractor(), std::to_string(sql::demo::kAdminUserId));
  ASSERT_TRUE(fe().press(form, rt::key::Esc));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(lockOfContractor(), "0");
  EXPECT_TRUE(logEntries().empty());
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM KONTAKT WHERE ID_KONTRAHENTA = 1"), "2");
  fe().press(w, rt::key::Esc);
}

TEST_P(ContactListWindows, ColumnsFollowTheSharedConfiguration) {
  ASSERT_EQ(svc::USTAWKOLUMNE("Kontakt", 1, "80L(2)|M~Nazwisko~@s50@", 150), 0);
  // A stored GG column without its icon would move the fields after it: only its width counts.
  ASSERT_EQ(svc::USTAWKOLUMNE("Kontakt", 10, "70L(2)|M~GG~@s30@", 0), 0);
  auto w = openList();
  ASSERT_TRUE(w);
  auto format = rt::ListFormat::parse(w->control("?LIST")->format);
  ASSERT_TRUE(format);
  EXPECT_EQ(format->columns[0].width, 150);
  EXPECT_EQ(format->columns[9].width, 0);
  EXPECT_GT(format->columns[9].iconField, 0);
  EXPECT_EQ(column(w, kSurname), (std::vector<std::string>{"Kowalski", "Nowak"}));
  fe().press(w, rt::key::Esc);
  join();
  // Closing stores every column as shown.
  EXPECT_EQ(svc::POBIERZKOLUMNEFORMAT("Kontakt", 2), "70L(2)|M~Imię~@s50@");
  EXPECT_EQ(svc::POBIERZKOLUMNEROZMIAR("Kontakt", 1), 150);
  EXPECT_EQ(svc::POBIERZKOLUMNEFORMAT("Kontakt", 10), "0L(2)|MI~GG~@s30@");
}

TEST(ContactListColumns, WidthsAreReadAndReplacedAtTheFront) {
  const struct {
    const char* piece;
    int width;
    int newWidth;
    const char* replaced;
  } rows[] = {
      {"80L(2)|M~Nazwisko~@s50@", 80, 120, "120L(2)|M~Nazwisko~@s50@"},
      {"L(2)|M~X~@s5@", 0, 10, "10L(2)|M~X~@s5@"},
      {"99999999999999L", 0, -4, "0L"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.piece);
    EXPECT_EQ(columnWidth(r.piece), r.width);
    EXPECT_EQ(withColumnWidth(r.piece, r.newWidth), r.replaced);
  }
  EXPECT_EQ(contactColumnDefaults().size(), 11u);
  EXPECT_TRUE(rt::ListFormat::parse(listFormatOf(contactColumnDefaults())));
}

SLOWNIK_ON_ALL_BACKENDS(ContactListWindows);

}  // namespace
}  // namespace slownik::documents
