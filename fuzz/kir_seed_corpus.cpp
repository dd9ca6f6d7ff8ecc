// Writes the seed corpus of the branch-file fuzz target into the directory given as
// the first argument: valid files in each code page and the broken variants the tests use.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "fixtures/kir/kir_files.h"

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  using slownik::banking::CodePage;
  using slownik::banking::KirBranch;
  if (argc != 2) {
    std::fprintf(stderr, "użycie: %s KATALOG\n", argv[0]);
    return 2;
  }
  const fs::path dir = argv[1];
  fs::create_directories(dir);
  auto write = [&](const std::string& name, const std::string& bytes) {
    std::ofstream(dir / name, std::ios::binary) << bytes;
  };
  const std::vector<KirBranch> branches = {
      {"10100000", "NBP O/Okręgowy Łódź", "ul. Żwirki 8", "90-001", "Łódź"},
      {"", "Bez numeru", "", "", ""},
      {"12401037", "Bank O'Briena", "ul. Źródlana 5", "22-335", "Żółkiewka"},
  };
  write("cp852.dbf", slownik::banking::writeKirBranchFile(branches, CodePage::Cp852));
  write("cp1250.dbf", slownik::banking::writeKirBranchFile(branches, CodePage::Cp1250));
  write("utf8.dbf", slownik::banking::writeKirBranchFile(branches, CodePage::Utf8));
  int n = 0;
  for (const auto& broken : slownik::test::kir::brokenFiles()) write("broken" + std::to_string(++n) + ".dbf", broken.bytes);
  return 0;
}
