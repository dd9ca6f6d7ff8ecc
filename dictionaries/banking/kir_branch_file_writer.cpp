#include "dictionaries/banking/kir_branch_file_writer.h"

#include <algorithm>
#include <cstdint>

#include "framework/sql/catalogue.h"

namespace slownik::banking {
namespace {

void putU16(std::string& out, std::size_t at, unsigned v) {
  out[at] = static_cast<char>(v & 0xFF);
  out[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}

void putU32(std::string& out, std::size_t at, std::uint32_t v) {
  putU16(out, at, v & 0xFFFF);
  putU16(out, at + 2, v >> 16);
}

// The text padded with blanks, or cut, to exactly `width` bytes.
std::string fixedWidth(std::string text, std::size_t width) {
  text.resize(width, ' ');
  return text;
}

}  // namespace

std::string writeKirBranchFile(const std::vector<KirBranch>& branches, CodePage page) {
  const sql::TableDef* def = sql::Catalogue::instance().find("KIR_ODDZIALY");
  if (!def) return {};
  const auto& columns = def->columns;
  const std::size_t headerLength = 32 + 32 * columns.size() + 1;
  std::size_t recordLength = 1;
  for (const auto& c : columns) recordLength += static_cast<std::size_t>(c.size);

  std::string out(headerLength, '\0');
  out[0] = 0x03;
  out[1] = 124;  // last update: 2024-01-01
  out[2] = 1;
  out[3] = 1;
  putU32(out, 4, static_cast<std::uint32_t>(branches.size()));
  putU16(out, 8, static_cast<unsigned>(headerLength));
  putU16(out, 10, static_cast<unsigned>(recordLength));
  out[29] = static_cast<char>(languageDriverOf(page));
  std::size_t at = 32;
  for (const auto& c : columns) {
    std::string name = c.name.substr(0, 10);
    std::copy(name.begin(), name.end(), out.begin() + static_cast<long>(at));
    out[at + 11] = 'C';
    out[at + 16] = static_cast<char>(c.size);
    at += 32;
  }
  out[at] = 0x0D;

  out.reserve(headerLength + branches.size() * recordLength + 1);
  for (const auto& b : branches) {
    out += b.deleted ? '*' : ' ';
    for (const auto& c : columns) {
      std::string value;
      if (c.name == "NUMER_BANKU") value = b.number;
      else if (c.name == "NAZWA") value = b.name;
      else if (c.name == "ULICA_LOKAL") value = b.street;
      else if (c.name == "KOD_POCZTOWY") value = b.postalCode;
      else if (c.name == "MIEJSCOWOSC") value = b.town;
      out += fixedWidth(encodeFromUtf8(value, page), static_cast<std::size_t>(c.size));
    }
  }
  out += '\x1A';
  return out;
}

}  // namespace slownik::banking
