// libFuzzer target over the branch-file reader: any bytes must either be refused or read
// record by record without a crash, an out-of-bounds read or a hang.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "dictionaries/banking/kir_branch_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using slownik::banking::CodePage;
  using slownik::banking::KirBranchFile;
  std::string bytes(reinterpret_cast<const char*>(data), size);
  // The first byte also picks the code page a .cpg file could force, so that every
  // decoder sees the records.
  const CodePage pages[] = {CodePage::Cp852, CodePage::Cp1250, CodePage::Utf8};
  std::optional<CodePage> cpg;
  if (size > 0 && data[0] % 4 != 3) cpg = pages[data[0] % 4];
  auto file = KirBranchFile::parse(std::move(bytes), cpg);
  if (!file) return 0;
  // Every record is read and every decoded text touched, so the sanitizers see it all.
  volatile std::size_t sink = 0;
  for (long i = 0; i < file->recordCount(); ++i) {
    auto b = file->record(i);
    sink = sink + b.number.size() + b.name.size() + b.street.size() + b.postalCode.size() + b.town.size();
  }
  return 0;
}
