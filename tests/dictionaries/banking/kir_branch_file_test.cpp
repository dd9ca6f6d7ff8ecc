#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include <unistd.h>

#include "dictionaries/banking/kir_branch_file.h"
#include "dictionaries/banking/kir_branch_file_writer.h"
#include "dictionaries/banking/kir_code_page.h"
#include "fixtures/kir/kir_files.h"

namespace slownik::banking {
namespace {

namespace kir = test::kir;

const std::string kPolish = "ĄĆĘŁŃÓŚŹŻąćęłńóśźż";

TEST(KirCodePage, PolishLettersByPage) {
  struct Row {
    CodePage page;
    std::string bytes;
  };
  const Row rows[] = {
      {CodePage::Cp852, "\xA4\x8F\xA8\x9D\xE3\xE0\x97\x8D\xBD\xA5\x86\xA9\x88\xE4\xA2\x98\xAB\xBE"},
      {CodePage::Cp1250, "\xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(static_cast<int>(r.page));
    EXPECT_EQ(decodeToUtf8(r.bytes, r.page), kPolish);
    EXPECT_EQ(encodeFromUtf8(kPolish, r.page), r.bytes);
  }
}

TEST(KirCodePage, OddBytesNeverBreakTheText) {
  // Bytes 0x81 etc. have no character in CP1250; broken UTF-8 must not pass through.
  EXPECT_EQ(decodeToUtf8("A\x81" "B", CodePage::Cp1250), "A\xEF\xBF\xBD" "B");
  EXPECT_EQ(decodeToUtf8("\xC5", CodePage::Utf8), "\xEF\xBF\xBD");
  EXPECT_EQ(decodeToUtf8("\xE0\x80\x80", CodePage::Utf8), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_EQ(decodeToUtf8("Łódź", CodePage::Utf8), "Łódź");
  EXPECT_EQ(encodeFromUtf8("€ Ł", CodePage::Cp852), "? \x9D");
}

TEST(KirCodePage, EveryByteOfAPageComesBackAsItWas) {
  // The five bytes CP1250 leaves undefined are the only ones that may not come back.
  const std::string undefined1250 = "\x81\x83\x88\x90\x98";
  for (CodePage page : {CodePage::Cp852, CodePage::Cp1250}) {
    SCOPED_TRACE(static_cast<int>(page));
    for (int b = 1; b < 256; ++b) {
      const std::string byte(1, static_cast<char>(b));
      const std::string text = decodeToUtf8(byte, page);
      if (page == CodePage::Cp1250 && undefined1250.find(byte) != std::string::npos) {
        EXPECT_EQ(text, "\xEF\xBF\xBD") << b;
        EXPECT_EQ(encodeFromUtf8(text, page), "?") << b;
      } else {
        EXPECT_EQ(encodeFromUtf8(text, page), byte) << b;
      }
    }
  }
  // A field longer than one conversion buffer; written back, a broken UTF-8 byte at its
  // end becomes one question mark.
  const std::string longField = std::string(3000, '\xA5') + "\xC5";
  std::string expected;
  for (int i = 0; i < 3000; ++i) expected += "Ą";
  EXPECT_EQ(decodeToUtf8(longField, CodePage::Cp1250), expected + "Ĺ");
  EXPECT_EQ(encodeFromUtf8(expected + "\xC5", CodePage::Cp1250), std::string(3000, '\xA5') + "?");
}

TEST(KirCodePage, ThreadsDecodeAtTheSameTime) {
  std::vector<std::thread> threads;
  std::vector<int> wrong(4, 0);
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([t, &wrong] {
      const CodePage page = t % 2 ? CodePage::Cp852 : CodePage::Cp1250;
      const std::string bytes = encodeFromUtf8(kPolish, page);
      for (int i = 0; i < 500; ++i)
        if (decodeToUtf8(bytes, page) != kPolish) ++wrong[t];
    });
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(wrong, std::vector<int>(4, 0));
}

TEST(KirCodePage, DeclaredPages) {
  struct Row {
    std::string cpg;
    std::optional<CodePage> page;
  };
  const Row rows[] = {{"852", CodePage::Cp852},     {"CP852\r\n", CodePage::Cp852}, {"IBM852", CodePage::Cp852},
                      {"1250", CodePage::Cp1250},   {"windows-1250", CodePage::Cp1250},
                      {"ANSI 1250", CodePage::Cp1250}, {"UTF-8", CodePage::Utf8}, {"utf8", CodePage::Utf8},
                      {"1252", std::nullopt},       {"", std::nullopt}};
  for (const Row& r : rows) EXPECT_EQ(codePageFromCpg(r.cpg), r.page) << r.cpg;

  EXPECT_EQ(codePageFromLanguageDriver(0x64), CodePage::Cp852);
  EXPECT_EQ(codePageFromLanguageDriver(0xC8), CodePage::Cp1250);
  EXPECT_EQ(codePageFromLanguageDriver(0x00), std::nullopt);
  for (CodePage page : {CodePage::Cp852, CodePage::Cp1250})
    EXPECT_EQ(codePageFromLanguageDriver(languageDriverOf(page)), page);
}

TEST(KirBranchFile, ReadsTheLayoutInEitherPage) {
  const KirBranch branch{"12401037", "Bank Spółdzielczy w Żółkiewce", "ul. Źródlana 5", "22-335", "Żółkiewka"};
  for (CodePage page : {CodePage::Cp852, CodePage::Cp1250}) {
    std::string why;
    auto file = KirBranchFile::parse(writeKirBranchFile({branch}, page), std::nullopt, &why);
    ASSERT_NE(file, nullptr) << why;
    EXPECT_EQ(file->codePage(), page);
    ASSERT_EQ(file->recordCount(), 1);
    KirBranch read = file->record(0);
    EXPECT_EQ(read.number, branch.number);
    EXPECT_EQ(read.name, branch.name);
    EXPECT_EQ(read.street, branch.street);
    EXPECT_EQ(read.postalCode, branch.postalCode);
    EXPECT_EQ(read.town, branch.town);
    EXPECT_FALSE(read.deleted);
  }
}

TEST(KirBranchFile, ValuesAndFlags) {
  // Trailing blanks and NUL padding go, leading blanks stay; the unused stretch may be
  // split into several fields; a deletion flag is reported.
  auto fields = kir::branchFields();
  fields[3].width = 20;
  fields.insert(fields.begin() + 4, kir::Field{"POLE4B", 'C', 23});
  std::string rec(163, ' ');
  rec.replace(0, 8, "1020\0\0\0\0", 8);
  rec.replace(16, 8, "  Bank O");
  rec.replace(94, 6, "D\xB3uga ");  // "Długa" in CP1250
  std::string bytes = kir::rawDbf(fields, {rec, rec}, 0xC8);
  bytes[bytes.size() - 1 - 164] = '*';  // the second record's flag
  std::string why;
  auto file = KirBranchFile::parse(bytes, std::nullopt, &why);
  ASSERT_NE(file, nullptr) << why;
  KirBranch first = file->record(0);
  EXPECT_EQ(first.number, "1020");
  EXPECT_EQ(first.name, "  Bank O");
  EXPECT_EQ(first.street, "Długa");
  EXPECT_FALSE(first.deleted);
  EXPECT_TRUE(file->record(1).deleted);
  EXPECT_EQ(file->record(2).number, "");  // past the end: an empty branch, no fault
}

TEST(KirBranchFile, CodePageFileOverridesTheHeader) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("kir_cpg_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const KirBranch branch{"10100000", "Łódź", "", "", ""};
  {
    // Written in CP1250 but the header claims CP852: the .cpg beside it is right.
    std::string bytes = writeKirBranchFile({branch}, CodePage::Cp1250);
    bytes[29] = 0x64;
    std::ofstream(dir / "ODDZIALY.DBF", std::ios::binary) << bytes;
    std::ofstream(dir / "ODDZIALY.cpg") << "1250";
  }
  auto opened = KirBranchFile::open(dir / "ODDZIALY.DBF");
  ASSERT_NE(opened.file, nullptr) << opened.why;
  EXPECT_EQ(opened.file->record(0).name, "Łódź");

  fs::remove(dir / "ODDZIALY.cpg");
  opened = KirBranchFile::open(dir / "ODDZIALY.DBF");
  ASSERT_NE(opened.file, nullptr);
  EXPECT_NE(opened.file->record(0).name, "Łódź");

  auto missing = KirBranchFile::open(dir / "BRAK.DBF");
  EXPECT_EQ(missing.fault, KirFileFault::Unreadable);
  EXPECT_EQ(missing.file, nullptr);
  fs::remove_all(dir);
}

TEST(KirBranchFile, RefusesBrokenFiles) {
  ASSERT_NE(KirBranchFile::parse(kir::validFile()), nullptr);
  for (const auto& broken : kir::brokenFiles()) {
    std::string why;
    EXPECT_EQ(KirBranchFile::parse(broken.bytes, std::nullopt, &why), nullptr) << broken.label;
    EXPECT_FALSE(why.empty()) << broken.label;
  }
}

}  // namespace
}  // namespace slownik::banking
