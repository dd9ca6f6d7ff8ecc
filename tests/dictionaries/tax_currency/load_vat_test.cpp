#include <gtest/gtest.h>

#include "dictionaries/tax_currency/load_vat.h"
#include "framework/data/vat_queue.h"
#include "framework/runtime/headless_front_end.h"
#include "support/backends.h"

namespace slownik {
namespace {

class LoadVat : public test::DatabaseTest {
 protected:
  void rate(const char* code, const char* name, const char* percent, int active) {
    exec(std::string("INSERT INTO STAWKA_VAT (KOD_VAT, NAZWA, STAWKA, AKTYWNY) VALUES ('") + code + "', '" + name +
         "', " + percent + ", " + std::to_string(active) + ")");
  }
  std::vector<std::string> queue() {
    std::vector<std::string> out;
    for (const auto& e : data::VATQ().entries()) out.push_back(e.kod + "=" + e.stawka.toString());
    return out;
  }
};

TEST_P(LoadVat, ActiveRatesHighestFirstThenByCode) {
  rate("23", "Podstawowa", "23", 1);
  rate("8", "Obniżona", "8", 1);
  rate("5", "Obniżona 5", "5", 1);
  rate("0", "Zerowa", "0", 1);
  rate("zw", "Zwolniona", "0", 1);
  rate("22", "Dawna", "22", 0);
  rate("X", "Dziwna", "7", 2);  // neither 0 nor 1: not active
  LOADVAT();
  EXPECT_EQ(queue(), (std::vector<std::string>{"23=23.00", "8=8.00", "5=5.00", "0=0.00", "zw=0.00"}));

  exec("UPDATE STAWKA_VAT SET AKTYWNY = 0");
  LOADVAT();
  EXPECT_TRUE(queue().empty());
}

// A failed rebuild must not leave the program without rates: the user is told, the
// rates loaded before stay, and the next call reads the table again.
TEST_P(LoadVat, DatabaseErrorIsToldKeepsTheRatesAndTheNextCallTriesAgain) {
  rate("23", "Podstawowa", "23", 1);
  LOADVAT();
  ASSERT_EQ(queue().size(), 1u);
  EXPECT_FALSE(data::VATQ().isStale());
  auto& fe = rt::HeadlessFrontEnd::install();
  fe.reset();
  fe.expectMessage(rt::button::Ok, "Nie można wczytać stawek VAT");
  exec("ALTER TABLE STAWKA_VAT RENAME TO STAWKA_VAT_NIEDOSTEPNA");
  LOADVAT();
  EXPECT_EQ(queue(), (std::vector<std::string>{"23=23.00"}));
  EXPECT_TRUE(data::VATQ().isStale());
  EXPECT_TRUE(fe.takeProblems().empty());
  EXPECT_EQ(fe.messages().size(), 1u);

  exec("ALTER TABLE STAWKA_VAT_NIEDOSTEPNA RENAME TO STAWKA_VAT");
  rate("8", "Obniżona", "8", 1);
  LOADVAT();
  EXPECT_EQ(queue(), (std::vector<std::string>{"23=23.00", "8=8.00"}));
  EXPECT_FALSE(data::VATQ().isStale());
  EXPECT_EQ(fe.messages().size(), 1u);
  EXPECT_TRUE(fe.takeProblems().empty());
}

SLOWNIK_ON_ALL_BACKENDS(LoadVat);

}  // namespace
}  // namespace slownik
