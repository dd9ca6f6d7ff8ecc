// The placeholder menu per context and the insertion at the cursor, as the template
// form and other modules' message editors (SMS_POPUPSRC) use them.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/runtime/headless_front_end.h"
#include "framework/sql/text.h"
#include "sms/placeholder_popup.h"
#include "sms/placeholders.h"

namespace slownik::sms {
namespace {

std::vector<std::string> texts(const std::vector<PlaceholderItem>& menu) {
  std::vector<std::string> out;
  for (const auto& item : menu) out.push_back(item.text);
  return out;
}

TEST(PlaceholderMenu, OffersTheContextsOwnGroupAfterTheCommonOnes) {
  const std::vector<std::string> common = {"Kontakt.Imie", "Kontakt.Nazwisko", "Kontakt.Tytul", "Kontakt.Stanowisko",
                                           "-", "Kontrahent.Nazwa"};
  struct Case {
    const char* context;
    std::size_t ownItems;
    const char* firstOwn;
    const char* lastOwn;
  };
  const Case cases[] = {
      {"KONTR_BRW", 0, "", ""},
      {"ROZRACH_BRW", 3, "Rozrachunek.Numer", "Rozrachunek.Pozostalo"},
      {"ZAM_BRW", 12, "Zamowienie.Numer", "Zamowienie.Uwagi"},
      {"CRM_BRW", 7, "Crm.Typ", "Crm.GodzinaDo"},
      {"", 0, "", ""},
      {"zam_brw", 0, "", ""},  // compared as text: another letter case is another context
      {"FAKTURY_BRW", 0, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.context);
    auto menu = placeholderMenu(c.context);
    auto shown = texts(menu);
    ASSERT_GE(shown.size(), common.size());
    EXPECT_EQ(std::vector<std::string>(shown.begin(), shown.begin() + common.size()), common);
    EXPECT_EQ(menu[4].name, "sep1");
    if (c.ownItems == 0) {
      EXPECT_EQ(shown.size(), common.size());
      continue;
    }
    ASSERT_EQ(shown.size(), common.size() + 1 + c.ownItems);
    EXPECT_EQ(menu[common.size()].name, "sep2");
    EXPECT_EQ(shown[common.size() + 1], c.firstOwn);
    EXPECT_EQ(shown.back(), c.lastOwn);
  }
}

TEST(PlaceholderMenu, EveryItemNameGivesItsPlaceholder) {
  for (const char* context : {"ROZRACH_BRW", "ZAM_BRW", "CRM_BRW"}) {
    for (const auto& item : placeholderMenu(context)) {
      if (item.isSeparator()) {
        EXPECT_FALSE(placeholderFor(item.name)) << item.name;
        continue;
      }
      auto placeholder = placeholderFor(item.name);
      ASSERT_TRUE(placeholder) << item.name;
      EXPECT_EQ(*placeholder, "{" + item.text + "}");
      EXPECT_EQ(placeholder->size(), item.name.size() + 3);
    }
  }
  EXPECT_FALSE(placeholderFor("Kontakt"));
  EXPECT_FALSE(placeholderFor("KontaktImieX"));
  EXPECT_FALSE(placeholderFor(""));
}

TEST(PlaceholderInsertion, PutsThePlaceholderAtTheCursorAndTheCursorBehindIt) {
  const std::string full(2000, 'x');
  const std::string almostFull(1995, 'y');
  struct Case {
    const char* what;
    std::string text;
    long position;
    const char* item;
    std::string expectedText;
    long expectedPosition;
  };
  const Case cases[] = {
      {"empty text", "", 1, "KontaktImie", "{Kontakt.Imie}", 15},
      {"start", "dobry", 1, "KontaktImie", "{Kontakt.Imie}dobry", 15},
      {"middle, after Polish letters", "Dzień dobry", 7, "KontrahentNazwa", "Dzień {Kontrahent.Nazwa}dobry", 25},
      {"end", "Zażółć", 7, "KontaktTytul", "Zażółć{Kontakt.Tytul}", 22},
      {"before the start counts as the start", "abc", 0, "CrmTyp", "{Crm.Typ}abc", 10},
      {"beyond the end counts as the end", "abc", 40, "CrmTyp", "abc{Crm.Typ}", 13},
      {"a full text loses what is pushed past 2000", full, 1, "KontaktImie",
       "{Kontakt.Imie}" + std::string(1986, 'x'), 15},
      {"the cursor stays within a cut text", almostFull, 1996, "KontaktImie",
       almostFull + "{Kont", 2001},
      {"dismissed menu", "abc", 2, "", "abc", 2},
      {"a separator is no placeholder", "abc", 2, "sep1", "abc", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CursorText out = insertPlaceholder({c.text, c.position}, c.item, 2000);
    EXPECT_EQ(out.text, c.expectedText);
    EXPECT_EQ(out.position, c.expectedPosition);
    EXPECT_LE(sql::utf8Length(out.text), 2000u);
  }
}

// SMS_POPUPSRC as another module calls it: a zero-terminated buffer and its size.
class PopupSource : public testing::Test {
 protected:
  void SetUp() override {
    fe_ = &rt::HeadlessFrontEnd::install();
    fe_->reset();
  }
  void TearDown() override {
    for (const auto& p : fe_->takeProblems()) ADD_FAILURE() << p;
  }
  rt::HeadlessFrontEnd* fe_ = nullptr;
};

TEST_F(PopupSource, InsertsTheChosenItemIntoTheCallersBuffer) {
  char text[64];
  std::strcpy(text, "Dzień dobry!");
  std::int32_t position = 7;
  fe_->expectPopup("Zamowienie.Numer");
  SMS_POPUPSRC("ZAM_BRW", &position, text, sizeof text);
  EXPECT_STREQ(text, "Dzień {Zamowienie.Numer}dobry!");
  EXPECT_EQ(position, 25);
  ASSERT_EQ(fe_->popupsShown().size(), 1u);
  EXPECT_EQ(fe_->popupsShown()[0].size(), 17u) << "5 common fields and 12 of orders";
}

TEST_F(PopupSource, DismissingChangesNeitherTextNorPosition) {
  char text[32];
  std::strcpy(text, "Bez zmian");
  std::int32_t position = 40;
  fe_->expectPopup("");
  SMS_POPUPSRC("KONTR_BRW", &position, text, sizeof text);
  EXPECT_STREQ(text, "Bez zmian");
  EXPECT_EQ(position, 40);
}

TEST_F(PopupSource, CutsToTheBufferWithoutSplittingACharacter) {
  char text[20];  // room for 19 bytes
  std::strcpy(text, "ąęść");  // 4 characters, 8 bytes
  std::int32_t position = 3;
  fe_->expectPopup("Kontakt.Imie");
  SMS_POPUPSRC("KONTR_BRW", &position, text, sizeof text);
  // "ąę{Kontakt.Imie}ść" is 22 bytes; "ś" would straddle the end, so it goes whole.
  EXPECT_STREQ(text, "ąę{Kontakt.Imie}");
  EXPECT_EQ(position, 17);
}

TEST_F(PopupSource, IgnoresACallWithoutABuffer) {
  std::int32_t position = 1;
  SMS_POPUPSRC("KONTR_BRW", &position, nullptr, 10);
  char text[4] = "abc";
  SMS_POPUPSRC("KONTR_BRW", nullptr, text, sizeof text);
  SMS_POPUPSRC("KONTR_BRW", &position, text, 0);
  EXPECT_STREQ(text, "abc");
  EXPECT_EQ(position, 1);
  EXPECT_TRUE(fe_->popupsShown().empty()) << "no menu for a call that can't take its answer";
}

}  // namespace
}  // namespace slownik::sms
