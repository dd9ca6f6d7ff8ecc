#include "sms/placeholders.h"

#include <algorithm>

#include "framework/sql/text.h"

namespace slownik::sms {
namespace {

struct Group {
  const char* name;
  const char* context;  // nullptr: offered for every context
  std::vector<const char*> fields;
};

// In menu order. The groups of every context come first, with a separator between them.
const std::vector<Group>& groups() {
  static const std::vector<Group> kGroups = {
      {"Kontakt", nullptr, {"Imie", "Nazwisko", "Tytul", "Stanowisko"}},
      {"Kontrahent", nullptr, {"Nazwa"}},
      {"Rozrachunek", "ROZRACH_BRW", {"Numer", "Waluta", "Pozostalo"}},
      {"Zamowienie",
       "ZAM_BRW",
       {"Numer", "Waluta", "KwotaNetto", "KwotaBrutto", "Status", "KomentarzStatusu", "NumerZamKlienta",
        "DataWystawienia", "TerminRealizacji", "InformacjeDodatkowe", "FormaDostawy", "Uwagi"}},
      {"Crm", "CRM_BRW", {"Typ", "Temat", "Lokalizacja", "DataOd", "DataDo", "GodzinaOd", "GodzinaDo"}},
  };
  return kGroups;
}

void addGroup(std::vector<PlaceholderItem>& menu, const Group& group) {
  for (const char* field : group.fields)
    menu.push_back({std::string(group.name) + "." + field, std::string(group.name) + field});
}

}  // namespace

std::vector<PlaceholderItem> placeholderMenu(std::string_view context) {
  const auto& all = groups();
  std::vector<PlaceholderItem> menu;
  addGroup(menu, all[0]);
  menu.push_back({"-", "sep1"});
  addGroup(menu, all[1]);
  for (const Group& group : all) {
    if (group.context && context == group.context) {
      menu.push_back({"-", "sep2"});
      addGroup(menu, group);
    }
  }
  return menu;
}

std::optional<std::string> placeholderFor(std::string_view itemName) {
  for (const Group& group : groups()) {
    std::string_view name(group.name);
    if (itemName.substr(0, name.size()) != name) continue;
    for (const char* field : group.fields)
      if (itemName.substr(name.size()) == field) return "{" + std::string(name) + "." + field + "}";
  }
  return std::nullopt;
}

CursorText insertPlaceholder(CursorText in, std::string_view itemName, std::size_t maxChars) {
  std::optional<std::string> placeholder = placeholderFor(itemName);
  if (!placeholder) return in;
  long length = static_cast<long>(sql::utf8Length(in.text));
  long position = std::clamp(in.position, 1L, length + 1);
  std::size_t at = sql::utf8Offset(in.text, static_cast<std::size_t>(position - 1));
  std::string joined = in.text.substr(0, at) + *placeholder + in.text.substr(at);
  CursorText out;
  out.text = sql::truncateUtf8(joined, maxChars);
  // The placeholder is its item name with braces and a dot: three characters longer.
  long behind = position + static_cast<long>(sql::utf8Length(itemName)) + 3;
  out.position = std::min(behind, static_cast<long>(sql::utf8Length(out.text)) + 1);
  return out;
}

}  // namespace slownik::sms
