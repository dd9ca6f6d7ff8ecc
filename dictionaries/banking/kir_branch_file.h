#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dictionaries/banking/kir_code_page.h"

namespace slownik::banking {

//! One branch of the clearing house's list, decoded to UTF-8, trailing blanks cut.
struct KirBranch {
  std::string number;      //!< settlement number, up to 8 characters
  std::string name;
  std::string street;      //!< street and number
  std::string postalCode;
  std::string town;
  bool deleted = false;    //!< marked deleted in the file; the import passes over it
};

//! Why a branch file could not be used.
enum class KirFileFault {
  None,
  Unreadable,    //!< the file exists but could not be read
  BadStructure,  //!< not a dBase table, truncated, or not in the branch layout
};

//! The branch file (ODDZIALY.DBF): a dBase table checked whole before anything is read
//! from it, so that a broken file is refused up front and never half imported.
//!
//! We read it ourselves rather than through a general dBase library: the file is small
//! (a few megabytes), and checking its header, field list and size against the record
//! count before the first record is taken is the whole point; a library that reads
//! records lazily only discovers a short file in the middle of the import. Reading from
//! a byte buffer also lets the fuzz target feed it directly.
//!
//! An instance is immutable after parsing and may be read from any thread.
class KirBranchFile {
 public:
  //! Parses a file's bytes. `cpg` is the code page a .cpg file beside it names, which
  //! overrides the header's language driver; without either the texts are taken as
  //! CP852, the page of the clearing house's DOS-era files. Null when the structure is
  //! wrong, with the reason (for logs, in English) in *why.
  static std::unique_ptr<KirBranchFile> parse(std::string bytes, std::optional<CodePage> cpg = std::nullopt,
                                              std::string* why = nullptr);

  struct Opened {
    std::unique_ptr<KirBranchFile> file;
    KirFileFault fault = KirFileFault::None;
    std::string why;
  };
  //! Reads and parses the file at `path`, with the .cpg file of the same stem if present.
  static Opened open(const std::filesystem::path& path);

  long recordCount() const { return recordCount_; }
  CodePage codePage() const { return codePage_; }
  //! Record `index` (0-based, < recordCount()).
  KirBranch record(long index) const;

  //! The byte offset and width of a field of the branch layout within a record.
  struct Slice {
    std::size_t offset = 0;
    std::size_t width = 0;
    int maxChars = 0;  //!< width of the BANKI column the value goes to
  };

 private:
  KirBranchFile() = default;

  std::string bytes_;
  std::size_t headerLength_ = 0;
  std::size_t recordLength_ = 0;
  long recordCount_ = 0;
  CodePage codePage_ = CodePage::Cp852;
  Slice number_, name_, street_, postalCode_, town_;
};

}  // namespace slownik::banking
