#include "framework/services/gus_registry_fields.h"

#include <pugixml.hpp>

#include <cstdlib>
#include <string_view>
#include <utility>

namespace slownik::svc {
namespace {

std::string trimmed(std::string text) {
  const char* blanks = " \t\r\n";
  auto first = text.find_first_not_of(blanks);
  if (first == std::string::npos) return {};
  auto last = text.find_last_not_of(blanks);
  return text.substr(first, last - first + 1);
}

std::string child(const pugi::xml_node& node, const char* name) { return trimmed(node.child_value(name)); }

// The first non-empty of several element names: the register's reports name the same
// datum differently for legal and natural persons.
std::string firstOf(const pugi::xml_node& node, std::initializer_list<const char*> names) {
  for (const char* name : names) {
    std::string value = child(node, name);
    if (!value.empty()) return value;
  }
  return {};
}

// The register writes province names in capitals; the province dictionary and
// addresses write them in small letters ("MAZOWIECKIE" -> "mazowieckie").
std::string lowerPolish(std::string_view text) {
  static constexpr std::pair<std::string_view, std::string_view> kPolish[] = {
      {"Ą", "ą"}, {"Ć", "ć"}, {"Ę", "ę"}, {"Ł", "ł"}, {"Ń", "ń"}, {"Ó", "ó"}, {"Ś", "ś"}, {"Ź", "ź"}, {"Ż", "ż"}};
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    bool replaced = false;
    for (const auto& [upper, lower] : kPolish) {
      if (text.substr(i, upper.size()) == upper) {
        out += lower;
        i += upper.size();
        replaced = true;
        break;
      }
    }
    if (replaced) continue;
    char c = text[i++];
    out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return out;
}

bool isBlank(std::string_view text) { return text.find_first_not_of(" \t\r\n") == std::string_view::npos; }

}  // namespace

GusSearchResult parseSearch(std::string_view xml) {
  GusSearchResult result;
  if (isBlank(xml)) {
    result.errorCode = 4;
    return result;
  }
  pugi::xml_document doc;
  if (!doc.load_buffer(xml.data(), xml.size()) || !doc.child("root")) {
    result.readable = false;
    return result;
  }
  for (pugi::xml_node dane : doc.child("root").children("dane")) {
    if (dane.child("ErrorCode")) {
      result.errorCode = std::atoi(dane.child_value("ErrorCode"));
      if (result.errorCode == 0) result.errorCode = -1;  // a code that is not a number is still an error
      result.errorMessage = child(dane, "ErrorMessagePl");
      continue;
    }
    GusEntity e;
    e.regon = child(dane, "Regon");
    e.nip = child(dane, "Nip");
    e.name = child(dane, "Nazwa");
    e.province = child(dane, "Wojewodztwo");
    e.county = child(dane, "Powiat");
    e.town = child(dane, "Miejscowosc");
    e.postcode = child(dane, "KodPocztowy");
    e.street = child(dane, "Ulica");
    e.houseNumber = child(dane, "NrNieruchomosci");
    e.flatNumber = child(dane, "NrLokalu");
    e.type = child(dane, "Typ");
    e.silo = std::atoi(dane.child_value("SilosID"));
    result.entities.push_back(std::move(e));
  }
  // A document with units is an answer even when one of them came with an error.
  if (!result.entities.empty()) result.errorCode = 0;
  if (result.entities.empty() && result.errorCode == 0) result.errorCode = 4;
  return result;
}

const GusEntity* mainEntity(const std::vector<GusEntity>& entities) {
  for (const auto& e : entities)
    if (e.type == "P" || e.type == "F") return &e;
  // Only local units: the register's own answer is still better than nothing.
  return entities.empty() ? nullptr : &entities.front();
}

std::string reportName(const GusEntity& entity) {
  if (entity.type == "P") return "BIR11OsPrawna";
  if (entity.type == "LP") return "BIR11JednLokalnaOsPrawnej";
  if (entity.type == "LF") return "BIR11JednLokalnaOsFizycznej";
  if (entity.type == "F") {
    switch (entity.silo) {
      case 1: return "BIR11OsFizycznaDzialalnoscCeidg";
      case 2: return "BIR11OsFizycznaDzialalnoscRolnicza";
      case 3: return "BIR11OsFizycznaDzialalnoscPozostala";
      case 4: return "BIR11OsFizycznaDzialalnoscSkreslonaDo20141108";
      default: return {};
    }
  }
  return {};
}

bool addReport(std::string_view xml, GusEntity& entity) {
  if (isBlank(xml)) return true;  // no report: the search's data stand alone
  pugi::xml_document doc;
  if (!doc.load_buffer(xml.data(), xml.size()) || !doc.child("root")) return false;
  pugi::xml_node dane = doc.child("root").child("dane");
  if (!dane || dane.child("ErrorCode")) return true;
  std::string email = firstOf(dane, {"praw_adresEmail", "fiz_adresEmail", "lokpraw_adresEmail", "lokfiz_adresEmail"});
  std::string phone =
      firstOf(dane, {"praw_numerTelefonu", "fiz_numerTelefonu", "lokpraw_numerTelefonu", "lokfiz_numerTelefonu"});
  std::string country = firstOf(dane, {"praw_adSiedzKraj_Symbol", "fiz_adSiedzKraj_Symbol", "lokpraw_adSiedzKraj_Symbol",
                                       "lokfiz_adSiedzKraj_Symbol"});
  if (!email.empty()) entity.email = email;
  if (!phone.empty()) entity.phone = phone;
  if (!country.empty()) entity.country = country;
  return true;
}

std::string streetLine(const GusEntity& entity) {
  std::string number = entity.houseNumber;
  if (!entity.flatNumber.empty()) number += (number.empty() ? "" : "/") + entity.flatNumber;
  std::string street = entity.street.empty() && !number.empty() ? entity.town : entity.street;
  if (street.empty()) return number;
  return number.empty() ? street : street + " " + number;
}

void fillReply(const GusEntity& entity, GusReplyRecord& reply) {
  reply.clear();
  reply.set(GusField::Status, "OK");
  reply.set(GusField::Regon, entity.regon);
  reply.set(GusField::Nip, entity.nip);
  reply.set(GusField::Name, entity.name);
  reply.set(GusField::Province, lowerPolish(entity.province));
  reply.set(GusField::Town, entity.town);
  reply.set(GusField::Street, streetLine(entity));
  reply.set(GusField::Postcode, entity.postcode);
  reply.set(GusField::County, entity.county);
  reply.set(GusField::Country, entity.country);
  reply.set(GusField::Email, entity.email);
  reply.set(GusField::Phone, entity.phone);
}

}  // namespace slownik::svc
