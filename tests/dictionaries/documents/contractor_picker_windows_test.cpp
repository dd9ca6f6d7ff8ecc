// The contractor picker played through the headless front-end.
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "dictionaries/documents/contractor_picker_list.h"
#include "engine/window_fixture.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/keys.h"
#include "framework/services/program_parameters.h"
#include "framework/services/window_parameters.h"

namespace slownik::documents {
namespace {

constexpr std::size_t kName = 1;  // list-buffer field of "Nazwa kontrahenta"

struct Outcome {
  std::atomic<int> response{-1};
  std::string id;  // KON1:ID_KONTRAHENTA left in the buffer, read after join()
  std::string name;
};

class ContractorPickerWindows : public test::WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    exec("DELETE FROM KONTAKT");
    exec("DELETE FROM KONTRAHENT");
    // Alfa: a recipient and payment operator; Beta: a supplier; Gamma: not in the normal
    // state; Delta: never marked either way; one contractor of another company.
    exec("INSERT INTO KONTRAHENT (ID_KONTRAHENTA, ID_FIRMY, NAZWA, NIP, MIEJSCOWOSC, KOD_POCZTOWY, WYROZNIK, "
         "FLAGA_STANU, OPERATOR_PLATNOSCI, ODBIORCA, DOSTAWCA) VALUES "
         "(10, 1, 'Alfa', '555', 'Warszawa', '00-001', 'A1', 0, 1, 1, 0), "
         "(11, 1, 'Beta O''Brien', '333', 'Krakow', '30-001', 'B1', 0, 0, 0, 1), "
         "(12, 1, 'Gamma', '444', 'Gdansk', '80-001', 'C1', 1, 1, 1, 0), "
         "(13, 1, 'Delta', '111', 'Lublin', '90-001', 'D1', 0, 0, NULL, NULL), "
         "(14, 2, 'Obca', '222', 'Opole', '45-001', 'E1', 0, 1, 1, 0)");
  }

  //! Opens the picker on its own thread; `before` runs there first (the caller's buffers).
  std::shared_ptr<Outcome> openPicker(std::string condition, std::function<void()> before = {}) {
    auto out = std::make_shared<Outcome>();
    start([out, condition, before] {
      if (before) before();
      data::GLOBALREQUEST() = data::kSelectRecord;
      KONTRAHENTFORMA_BRW(condition.c_str());
      out->response = data::GLOBALRESPONSE();
      out->id = data::field("KON1:ID_KONTRAHENTA").text();
      out->name = data::field("KON1:NAZWA").text();
    });
    return out;
  }
  std::vector<std::string> namesShown(const std::string& condition) {
    openPicker(condition);
    auto w = window("Wybierz kontrahenta");
    if (!w) return {};
    auto names = column(w, kName);
    fe().press(w, rt::key::Esc);
    join();
    return names;
  }
  static std::string selectedName(const std::shared_ptr<rt::Window>& w) {
    int selected = w->control("?LIST")->selection;
    if (selected < 1) return "";
    return rows(w)[static_cast<std::size_t>(selected - 1)][kName];
  }
};

TEST_P(ContractorPickerWindows, EachOrderSortsHidesLocatesAndShowsItsColumnBold) {
  ASSERT_EQ(svc::USTAWPARAMKONF("s", "MaskaWyrKontr", "<#"), 0);
  const struct {
    const char* item;
    std::vector<std::string> names;
    int boldStyle;
    const char* picture;
    const char* typed;
    const char* located;
  } orders[] = {
      {"nazwa", {"Alfa", "Beta O'Brien", "Delta", "Gamma"}, 1, "@s20", "De", "Delta"},
      {"nip", {"Delta", "Beta O'Brien", "Alfa"}, 2, "@s20", "33", "Beta O'Brien"},
      {"miejscowość", {"Beta O'Brien", "Delta", "Alfa"}, 3, "@s20", "lub", "Delta"},
      {"kod pocztowy", {"Alfa", "Beta O'Brien", "Delta"}, 4, "@s20", "90", "Delta"},
      {"numer", {"Alfa", "Beta O'Brien", "Delta"}, 5, "@s20", "11", "Beta O'Brien"},
      {"wyróżnik", {"Alfa", "Beta O'Brien", "Delta"}, 6, "K<#K", "D", "Delta"},
  };
  openPicker("");
  auto w = window("Wybierz kontrahenta");
  ASSERT_TRUE(w);
  for (const auto& o : orders) {
    SCOPED_TRACE(o.item);
    ASSERT_TRUE(fe().choose(w, "?SORTOWANIE", o.item));
    ASSERT_TRUE(fe().settle(w));
    EXPECT_EQ(column(w, kName), o.names);
    auto list = w->control("?LIST");
    for (int style = 1; style <= 6; ++style)
      EXPECT_EQ(list->styles[style].fontWeight, style == o.boldStyle ? rt::kBoldWeight : rt::kNormalWeight) << style;
    EXPECT_EQ(w->control("?LOKATOR")->picture, o.picture);
    EXPECT_EQ(w->focus(), "?LIST");
    ASSERT_TRUE(fe().type(w, "?LOKATOR", o.typed));
    ASSERT_TRUE(fe().settle(w));
    EXPECT_EQ(selectedName(w), o.located);
  }

  // By name with intuition: only the rows holding the text anywhere, in any case, the
  // contractors not in the normal state too; an apostrophe is just a letter.
  ASSERT_TRUE(fe().choose(w, "?SORTOWANIE", "nazwa (intuicja)"));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(column(w, kName), (std::vector<std::string>{"Alfa", "Beta O'Brien", "Delta", "Gamma"}));
  EXPECT_EQ(w->control("?LIST")->styles[1].fontWeight, rt::kBoldWeight);
  ASSERT_TRUE(fe().type(w, "?LOKATOR", "O'b"));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(column(w, kName), (std::vector<std::string>{"Beta O'Brien"}));
  ASSERT_TRUE(fe().type(w, "?LOKATOR", "MM"));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(column(w, kName), (std::vector<std::string>{"Gamma"}));
  // Another order forgets the typed text: nothing stays hidden by it.
  ASSERT_TRUE(fe().choose(w, "?SORTOWANIE", "numer"));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(column(w, kName), (std::vector<std::string>{"Alfa", "Beta O'Brien", "Delta"}));
  fe().press(w, rt::key::Esc);
}

TEST_P(ContractorPickerWindows, CallersConditionNarrowsButNeverWidensTheList) {
  // Another company's operator stays out even when the condition asks for it.
  EXPECT_EQ(namesShown("A.OPERATOR_PLATNOSCI=1"), (std::vector<std::string>{"Alfa", "Gamma"}));
  EXPECT_EQ(namesShown("A.OPERATOR_PLATNOSCI=1 or A.ID_FIRMY=2"), (std::vector<std::string>{"Alfa", "Gamma"}));
  EXPECT_EQ(namesShown("A.NAZWA='Beta O''Brien'"), (std::vector<std::string>{"Beta O'Brien"}));
  EXPECT_EQ(namesShown(""), (std::vector<std::string>{"Alfa", "Beta O'Brien", "Delta", "Gamma"}));

  // Without a right to suppliers or recipients those rows are hidden; an "or" in the
  // caller's condition can't bring them back. Delta is neither.
  const struct {
    std::vector<const char*> rights;
    const char* condition;
    std::vector<std::string> names;
  } users[] = {
      {{"OKontrD", "OKontrO"}, "", {"Alfa", "Beta O'Brien", "Delta", "Gamma"}},
      {{"OKontrO"}, "", {"Alfa", "Delta", "Gamma"}},
      {{"OKontrO"}, "A.OPERATOR_PLATNOSCI=1 or A.DOSTAWCA=1", {"Alfa", "Gamma"}},
      {{"OKontrD"}, "", {"Beta O'Brien", "Delta"}},
      {{}, "", {"Delta"}},
  };
  for (const auto& u : users) {
    SCOPED_TRACE(testing::PrintToString(u.names));
    exec("DELETE FROM DOSTEP WHERE ID_GRUPY = " + std::to_string(sql::demo::kUserGroupId));
    for (const char* right : u.rights) grant(right);
    asUser(sql::demo::kUserId);
    EXPECT_EQ(namesShown(u.condition), u.names);
  }
}

TEST_P(ContractorPickerWindows, OpensOnTheCallersContractorInTheContractorListsOrderAndPicks) {
  svc::ZAPISZPARAMETROKNA("Kontrahent_Brw", "sortowanie", "nip");
  auto out = openPicker("", [] { data::field("KON1:ID_KONTRAHENTA").set(13.0); });
  auto w = window("Wybierz kontrahenta");
  ASSERT_TRUE(w);
  EXPECT_EQ(w->value("?SORTOWANIE"), "nip");
  EXPECT_EQ(column(w, kName), (std::vector<std::string>{"Delta", "Beta O'Brien", "Alfa"}));
  EXPECT_EQ(selectedName(w), "Delta");
  EXPECT_FALSE(w->control("?SELECT")->hidden);
  ASSERT_TRUE(fe().clickRow(w, "?LIST", 2));
  ASSERT_TRUE(fe().press(w, rt::key::Enter));
  join();
  EXPECT_EQ(out->response, data::kRequestCompleted);
  EXPECT_EQ(out->id, "11");
  EXPECT_EQ(out->name, "Beta O'Brien");
  EXPECT_EQ(svc::POBIERZPARAMETROKNA("Kontrahent_Brw", "sortowanie"), "nip") << "the picker never writes it";

  // Nothing picked before: the caller's current contractor; an unknown stored order: by name.
  svc::ZAPISZPARAMETROKNA("Kontrahent_Brw", "sortowanie", "coś innego");
  out = openPicker("", [] {
    data::field("KON1:ID_KONTRAHENTA").set(0.0);
    data::field("KON:ID_KONTRAHENTA").set(12.0);
  });
  w = window("Wybierz kontrahenta");
  ASSERT_TRUE(w);
  EXPECT_EQ(w->value("?SORTOWANIE"), "nazwa");
  EXPECT_EQ(selectedName(w), "Gamma");
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
  join();
  EXPECT_EQ(out->response, data::kRequestCancelled);
}

SLOWNIK_ON_ALL_BACKENDS(ContractorPickerWindows);

}  // namespace
}  // namespace slownik::documents
