// TK_PrzeliczCenyArtykulow(day, purchase setting, sales algorithm): after new rates
// (or a new base currency) the articles bought in a foreign currency get their prices
// in the base currency again, at the rate in force on the day (NBP, else ECB).
//  - purchase setting "Tak": ARTYKUL.CENA_ZAKUPU := CENA_ZAKUPU_WAL x rate / multiplier;
//    otherwise the stored purchase price stays as it is;
//  - every price of the article that keeps a NARZUT is recalculated from the converted
//    purchase price: algorithm "Marża" treats NARZUT as a margin on the sales price
//    (net = purchase x 100 / (100 - NARZUT)), anything else as a markup on the purchase
//    price (net = purchase x (100 + NARZUT) / 100); gross = net with the article's VAT.
// Prices without NARZUT were set by hand and are left alone. An article whose currency
// has no rate, or whose VAT code is unknown, keeps its prices. The result is one row:
// articles recalculated, articles left as they were.
#include <map>
#include <optional>

#include "framework/runtime/decimal.h"
#include "framework/sql/routine_registry.h"
#include "framework/sql/routines/polish_letters.h"
#include "framework/sql/routines/rate_lookup.h"
#include "framework/sql/routines/routine_args.h"
#include "framework/sql/routines/routine_families.h"
#include "framework/sql/text.h"

namespace slownik::sql {
namespace {

using rt::Decimal;

constexpr int kPurchaseScale = 4;
constexpr int kSalesScale = 2;
constexpr int kWorkScale = 10;

std::string trimmed(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  while (!s.empty() && s.front() == ' ') s.erase(s.begin());
  return s;
}

std::optional<Decimal> decimalOf(const Result& r, std::size_t row, std::size_t column) {
  if (r.isNull(row, column)) return std::nullopt;
  return Decimal::parse(r.text(row, column));
}

struct Settings {
  bool updatePurchasePrice = false;
  bool margin = false;  // NARZUT is a margin on the sales price, not a markup
};

Settings readSettings(const RoutineArgs& args) {
  Settings s;
  s.updatePurchasePrice = equalsIgnoreCase(trimmed(args.text(1)), "Tak");
  s.margin = equalsIgnoreCase(trimmed(withoutPolishLetters(args.text(2))), "Marza");
  return s;
}

// Rate per one unit of each currency, read once per run.
class RateBook {
 public:
  RateBook(Database& db, long long day) : db_(db), day_(day) {}

  Status rate(const std::string& currency, std::optional<Decimal>* out) {
    if (auto it = rates_.find(currency); it != rates_.end()) {
      *out = it->second;
      return {};
    }
    *out = std::nullopt;
    RateQuote quote;
    if (Status s = rateInForce(db_, kRateSourceNbp, currency, day_, &quote); !s) return s;
    if (!quote.found)
      if (Status s = rateInForce(db_, kRateSourceEcb, currency, day_, &quote); !s) return s;
    Result r;
    std::vector<Param> params = {currency};
    if (Status s = db_.execute("SELECT MNOZNIK_WALUTY FROM WALUTY WHERE SYM_WALUTY = ?", params, &r); !s) return s;
    auto rate = quote.found ? Decimal::parse(quote.rate) : std::nullopt;
    auto multiplier = decimalOf(r, 0, 0);
    if (!multiplier || multiplier->sign() <= 0) multiplier = Decimal::fromInteger(1);
    if (rate && rate->sign() > 0) *out = Decimal::divide(*rate, *multiplier, kWorkScale);
    rates_[currency] = *out;
    return {};
  }

 private:
  Database& db_;
  long long day_;
  std::map<std::string, std::optional<Decimal>> rates_;
};

Status vatRates(Database& db, std::map<std::string, Decimal>* out) {
  Result r;
  if (Status s = db.execute("SELECT KOD_VAT, STAWKA FROM STAWKA_VAT", &r); !s) return s;
  for (std::size_t i = 0; i < r.size(); ++i) {
    // Exempt and not-taxed codes carry no tax, whatever their stored rate says.
    auto rate = decimalOf(r, i, 1);
    (*out)[trimmed(r.text(i, 0))] = rate && rate->sign() > 0 ? *rate : Decimal::fromInteger(0);
  }
  return {};
}

std::optional<Decimal> salesNet(const Decimal& purchase, const Decimal& narzut, bool margin) {
  const Decimal hundred = Decimal::fromInteger(100);
  if (margin) {
    auto share = Decimal::subtract(hundred, narzut);
    if (!share || share->sign() <= 0) return std::nullopt;  // a margin of 100% or more has no price
    auto scaled = Decimal::multiply(purchase, hundred, kWorkScale);
    return scaled ? Decimal::divide(*scaled, *share, kSalesScale) : std::nullopt;
  }
  auto factor = Decimal::add(hundred, narzut);
  auto scaled = factor ? Decimal::multiply(purchase, *factor, kWorkScale) : std::nullopt;
  return scaled ? Decimal::divide(*scaled, hundred, kSalesScale) : std::nullopt;
}

std::optional<Decimal> withVat(const Decimal& net, const Decimal& vat) {
  auto factor = Decimal::add(Decimal::fromInteger(100), vat);
  auto scaled = factor ? Decimal::multiply(net, *factor, kWorkScale) : std::nullopt;
  return scaled ? Decimal::divide(*scaled, Decimal::fromInteger(100), kSalesScale) : std::nullopt;
}

Status updateSalesPrices(Database& db, const std::string& article, const Decimal& purchase, const Decimal& vat,
                         bool margin) {
  Result prices;
  std::vector<Param> params = {article};
  if (Status s = db.execute("SELECT ID_CENY, NARZUT FROM CENA_ARTYKULU WHERE ID_ARTYKULU = ? AND NARZUT IS NOT NULL",
                            params, &prices);
      !s)
    return s;
  for (std::size_t i = 0; i < prices.size(); ++i) {
    auto narzut = decimalOf(prices, i, 1);
    auto net = narzut ? salesNet(purchase, *narzut, margin) : std::nullopt;
    auto gross = net ? withVat(*net, vat) : std::nullopt;
    if (!gross) continue;
    std::vector<Param> update = {net->toString(), gross->toString(), prices.text(i, 0), article};
    if (Status s = db.execute(
            "UPDATE CENA_ARTYKULU SET CENA_NETTO = ?, CENA_BRUTTO = ? WHERE ID_CENY = ? AND ID_ARTYKULU = ?", update,
            nullptr);
        !s)
      return s;
  }
  return {};
}

Status recalculatePrices(Database& db, const std::vector<Cell>& argv, Result* out) {
  RoutineArgs args("TK_PrzeliczCenyArtykulow", argv);
  if (Status s = args.require(3); !s) return s;
  long long day = 0;
  if (Status s = args.integer(0, &day); !s) return s;
  Settings settings = readSettings(args);
  std::string base;
  if (Status s = baseCurrency(db, &base); !s) return s;
  if (base.empty()) return Status::failure("Nie ustawiono waluty bazowej: nie można przeliczyć cen artykułów.");
  std::map<std::string, Decimal> vat;
  if (Status s = vatRates(db, &vat); !s) return s;

  Result articles;
  std::vector<Param> params = {base};
  if (Status s = db.execute(
          "SELECT ID_ARTYKULU, RTRIM(SYM_WALUTY), CENA_ZAKUPU_WAL, KOD_VAT FROM ARTYKUL "
          "WHERE RTRIM(SYM_WALUTY) <> ? AND RTRIM(SYM_WALUTY) <> '' AND CENA_ZAKUPU_WAL > 0 ORDER BY ID_ARTYKULU",
          params, &articles);
      !s)
    return s;

  RateBook rates(db, day);
  long long recalculated = 0, kept = 0;
  for (std::size_t i = 0; i < articles.size(); ++i) {
    std::string article = articles.text(i, 0);
    std::optional<Decimal> rate;
    if (Status s = rates.rate(articles.text(i, 1), &rate); !s) return s;
    auto foreign = decimalOf(articles, i, 2);
    auto purchase = rate && foreign ? Decimal::multiply(*foreign, *rate, kPurchaseScale) : std::nullopt;
    auto vatRate = vat.find(trimmed(articles.text(i, 3)));
    if (!purchase || vatRate == vat.end()) {
      ++kept;
      continue;
    }
    if (settings.updatePurchasePrice) {
      std::vector<Param> update = {purchase->toString(), article};
      if (Status s = db.execute("UPDATE ARTYKUL SET CENA_ZAKUPU = ? WHERE ID_ARTYKULU = ?", update, nullptr); !s)
        return s;
    }
    if (Status s = updateSalesPrices(db, article, *purchase, vatRate->second, settings.margin); !s) return s;
    ++recalculated;
  }
  out->columns = {"PRZELICZONE", "POMINIETE"};
  out->rows.push_back({std::to_string(recalculated), std::to_string(kept)});
  return {};
}

}  // namespace

void registerPriceRecalculationRoutines(RoutineRegistry& registry) {
  registry.add("TK_PrzeliczCenyArtykulow", recalculatePrices);
}

}  // namespace slownik::sql
