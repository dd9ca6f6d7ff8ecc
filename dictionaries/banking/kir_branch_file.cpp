#include "dictionaries/banking/kir_branch_file.h"

#include <fstream>
#include <iterator>
#include <limits>
#include <system_error>

#include "framework/sql/catalogue.h"
#include "framework/sql/text.h"

namespace slownik::banking {
namespace {

constexpr std::size_t kHeaderSize = 32;
constexpr std::size_t kDescriptorSize = 32;
constexpr unsigned char kDescriptorEnd = 0x0D;

unsigned readU16(std::string_view b, std::size_t at) {
  return static_cast<unsigned char>(b[at]) | (static_cast<unsigned>(static_cast<unsigned char>(b[at + 1])) << 8);
}

std::uint32_t readU32(std::string_view b, std::size_t at) {
  return readU16(b, at) | (static_cast<std::uint32_t>(readU16(b, at + 2)) << 16);
}

bool isKnownVersion(unsigned char v) {
  // dBase III/IV/V tables with or without memo, and the FoxPro variants of the same
  // record format.
  switch (v) {
    case 0x03: case 0x04: case 0x05: case 0x30: case 0x31: case 0x83: case 0x8B: case 0xF5:
      return true;
    default:
      return false;
  }
}

struct FileField {
  std::size_t offset;  // within the record, after the deletion flag byte
  std::size_t width;
  char type;
};

struct LayoutField {
  std::string column;  // KIR_ODDZIALY column
  std::size_t offset;
  std::size_t width;
};

// The branch layout as the catalogue describes it: every field in file order, with the
// offset it starts at (the deletion flag is byte 0 of a record).
std::vector<LayoutField> branchLayout() {
  std::vector<LayoutField> layout;
  const sql::TableDef* def = sql::Catalogue::instance().find("KIR_ODDZIALY");
  if (!def) return layout;
  std::size_t offset = 1;
  for (const auto& c : def->columns) {
    layout.push_back({c.name, offset, static_cast<std::size_t>(c.size)});
    offset += static_cast<std::size_t>(c.size);
  }
  return layout;
}

int banksColumnWidth(std::string_view column) {
  const sql::TableDef* banks = sql::Catalogue::instance().find("BANKI");
  const sql::ColumnDef* c = banks ? banks->column(column) : nullptr;
  return c ? c->size : 0;
}

std::unique_ptr<KirBranchFile> fail(std::string* why, std::string text) {
  if (why) *why = std::move(text);
  return nullptr;
}

// Cuts the trailing padding: blanks, and the NULs some writers pad with.
std::string_view trimRight(std::string_view s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\0')) s.remove_suffix(1);
  return s;
}

}  // namespace

std::unique_ptr<KirBranchFile> KirBranchFile::parse(std::string bytes, std::optional<CodePage> cpg, std::string* why) {
  const std::string_view b = bytes;
  if (b.size() < kHeaderSize + 1) return fail(why, "shorter than a dBase header");
  if (!isKnownVersion(static_cast<unsigned char>(b[0]))) return fail(why, "not a dBase table");

  const std::uint32_t records = readU32(b, 4);
  const std::size_t headerLength = readU16(b, 8);
  const std::size_t recordLength = readU16(b, 10);
  if (headerLength < kHeaderSize + 1 || headerLength > b.size())
    return fail(why, "header length outside the file");
  if (recordLength < 2) return fail(why, "record length too small");

  // Field descriptors run from byte 32 to the 0x0D terminator, which must lie inside
  // the declared header.
  std::vector<FileField> fields;
  std::size_t offset = 1;
  std::size_t at = kHeaderSize;
  for (;; at += kDescriptorSize) {
    if (at >= headerLength) return fail(why, "field list not terminated");
    if (static_cast<unsigned char>(b[at]) == kDescriptorEnd) break;
    if (at + kDescriptorSize > headerLength) return fail(why, "field descriptor cut short");
    const std::size_t width = static_cast<unsigned char>(b[at + 16]);
    if (width == 0) return fail(why, "field of width 0");
    fields.push_back({offset, width, b[at + 11]});
    offset += width;
  }
  if (offset != recordLength) return fail(why, "field widths do not add up to the record length");

  // The declared records must all be there; a trailing end-of-file mark is optional.
  const std::uint64_t needed = headerLength + static_cast<std::uint64_t>(records) * recordLength;
  if (needed > b.size()) return fail(why, "file shorter than its declared records");
  if (records > static_cast<std::uint32_t>(std::numeric_limits<long>::max()))
    return fail(why, "record count out of range");

  // Only the positions and widths of the layout matter, not the field names: each field
  // the import reads must start where the layout puts it and be a character field of the
  // layout's width. The unused stretch may be split into several fields.
  const std::vector<LayoutField> layout = branchLayout();
  if (layout.empty() || fields.size() < layout.size())
    return fail(why, "fewer fields than the branch layout");
  auto file = std::unique_ptr<KirBranchFile>(new KirBranchFile());
  struct Use {
    const char* column;
    Slice KirBranchFile::*slice;
    const char* banksColumn;
  };
  const Use uses[] = {
      {"NUMER_BANKU", &KirBranchFile::number_, "NUMER_BANKU"},
      {"NAZWA", &KirBranchFile::name_, "NAZWA"},
      {"ULICA_LOKAL", &KirBranchFile::street_, "ULICA_LOKAL"},
      {"KOD_POCZTOWY", &KirBranchFile::postalCode_, "KOD_POCZTOWY"},
      {"MIEJSCOWOSC", &KirBranchFile::town_, "MIEJSCOWOSC"},
  };
  for (const Use& use : uses) {
    const LayoutField* want = nullptr;
    for (const auto& l : layout)
      if (l.column == use.column) want = &l;
    if (!want) return fail(why, std::string("layout lacks ") + use.column);
    bool found = false;
    for (const auto& f : fields) {
      if (f.offset == want->offset && f.width == want->width && f.type == 'C') found = true;
    }
    if (!found) return fail(why, std::string("no character field for ") + use.column + " at its position");
    file.get()->*use.slice = Slice{want->offset, want->width, banksColumnWidth(use.banksColumn)};
  }

  if (cpg) {
    file->codePage_ = *cpg;
  } else if (auto declared = codePageFromLanguageDriver(static_cast<unsigned char>(b[29]))) {
    file->codePage_ = *declared;
  }
  file->headerLength_ = headerLength;
  file->recordLength_ = recordLength;
  file->recordCount_ = static_cast<long>(records);
  bytes.resize(static_cast<std::size_t>(needed));
  file->bytes_ = std::move(bytes);
  return file;
}

KirBranchFile::Opened KirBranchFile::open(const std::filesystem::path& path) {
  Opened result;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    result.fault = KirFileFault::Unreadable;
    result.why = "cannot open " + path.string();
    return result;
  }
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) {
    result.fault = KirFileFault::Unreadable;
    result.why = "read error in " + path.string();
    return result;
  }

  std::optional<CodePage> cpg;
  std::filesystem::path cpgPath = path;
  for (const char* ext : {".cpg", ".CPG"}) {
    cpgPath.replace_extension(ext);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(cpgPath, ec)) continue;
    std::ifstream cpgIn(cpgPath, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(cpgIn)), std::istreambuf_iterator<char>());
    cpg = codePageFromCpg(text.substr(0, 64));
    break;
  }

  result.file = parse(std::move(bytes), cpg, &result.why);
  if (!result.file) result.fault = KirFileFault::BadStructure;
  return result;
}

KirBranch KirBranchFile::record(long index) const {
  KirBranch branch;
  if (index < 0 || index >= recordCount_) return branch;
  const std::string_view rec =
      std::string_view(bytes_).substr(headerLength_ + static_cast<std::size_t>(index) * recordLength_, recordLength_);
  branch.deleted = rec[0] == '*';
  auto value = [&](const Slice& s) {
    return sql::truncateUtf8(decodeToUtf8(trimRight(rec.substr(s.offset, s.width)), codePage_),
                             static_cast<std::size_t>(s.maxChars));
  };
  branch.number = value(number_);
  branch.name = value(name_);
  branch.street = value(street_);
  branch.postalCode = value(postalCode_);
  branch.town = value(town_);
  return branch;
}

}  // namespace slownik::banking
