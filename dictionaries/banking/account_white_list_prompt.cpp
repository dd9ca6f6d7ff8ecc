#include "dictionaries/banking/account_white_list_prompt.h"

#include "framework/runtime/date_time.h"
#include "framework/services/gus_registry_prompt.h"
#include "framework/services/messages.h"
#include "framework/services/prompt_dialog.h"

namespace slownik::banking {
namespace {

constexpr const char* kNip = "?NIP";
constexpr const char* kDay = "?DATA";

}  // namespace

std::optional<WhiteListQuestion> askWhiteListQuestion(std::string_view proposedNip) {
  const std::int32_t today = rt::today();
  svc::PromptDialog dialog;
  dialog.resource = "slownik$bialalista";
  dialog.caption = "Sprawdź na białej liście";
  dialog.minWidth = 220;
  dialog.minHeight = 60;
  dialog.fields = {
      {kNip, "N&IP", "@s20", "Numer NIP podatnika, do którego rachunek powinien należeć", std::string(proposedNip)},
      {kDay, "Na &dzień", "@s10", "Dzień, na który sprawdzić rachunek (zwykle dzień zapłaty)",
       rt::formatShortDate(today)},
  };
  dialog.acceptCaption = "&Sprawdź";
  std::optional<WhiteListQuestion> chosen;
  svc::runPromptDialog(dialog, [&](rt::Window& window) {
    auto nip = svc::registryNip(window.value(kNip));
    if (!nip) {
      svc::MSG_OSTRZEZENIE("Numer NIP jest niepoprawny.|Wpisz dziesięć cyfr numeru NIP podatnika.");
      window.select(kNip);
      return false;
    }
    auto day = rt::parseDate(window.value(kDay), rt::TwoDigitYears::NearFuture, today);
    if (!day || *day > today) {
      svc::MSG_OSTRZEZENIE(day ? "Wykaz podatników VAT podaje stan tylko na dzień dzisiejszy lub wcześniejszy."
                               : "Data sprawdzenia jest niepoprawna.|Wpisz ją w postaci dd.mm.rrrr.");
      window.select(kDay);
      return false;
    }
    chosen = WhiteListQuestion{*nip, *day};
    return true;
  });
  return chosen;
}

}  // namespace slownik::banking
