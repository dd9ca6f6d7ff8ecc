#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "framework/runtime/error_state.h"
#include "framework/services/excel_export.h"

namespace slownik::svc {
namespace {

// A small reader of the spreadsheet's zip container: the central directory gives
// each entry; deflated entries are inflated with zlib, looked up at run time (the
// spreadsheet library already loads it), so that the test needs nothing but the
// file itself.
class ZipEntries {
 public:
  explicit ZipEntries(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    bytes_.assign(std::istreambuf_iterator<char>(in), {});
    valid_ = bytes_.size() > 22 && bytes_.compare(0, 4, "PK\x03\x04") == 0 && readDirectory();
  }
  bool valid() const { return valid_; }
  bool contains(const std::string& name) const { return entries_.count(name) > 0; }
  std::string text(const std::string& name) const {
    auto it = entries_.find(name);
    return it == entries_.end() ? std::string() : it->second;
  }

 private:
  std::uint32_t u16(std::size_t at) const {
    return static_cast<unsigned char>(bytes_[at]) | static_cast<unsigned char>(bytes_[at + 1]) << 8;
  }
  std::uint32_t u32(std::size_t at) const { return u16(at) | u16(at + 2) << 16; }

  bool readDirectory() {
    std::size_t end = bytes_.size() - 22;
    while (end > 0 && u32(end) != 0x06054b50) --end;
    if (u32(end) != 0x06054b50) return false;
    std::size_t count = u16(end + 10);
    std::size_t at = u32(end + 16);
    for (std::size_t i = 0; i < count; ++i) {
      if (at + 46 > bytes_.size() || u32(at) != 0x02014b50) return false;
      std::uint32_t method = u16(at + 10), packed = u32(at + 20), size = u32(at + 24);
      std::size_t nameLen = u16(at + 28), extraLen = u16(at + 30), commentLen = u16(at + 32);
      std::size_t local = u32(at + 42);
      std::string name = bytes_.substr(at + 46, nameLen);
      std::size_t data = local + 30 + u16(local + 26) + u16(local + 28);
      std::string raw = bytes_.substr(data, packed);
      std::string content;
      if (method == 0) content = raw;
      else if (method != 8 || !inflateRaw(raw, size, &content)) return false;
      entries_[name] = content;
      at += 46 + nameLen + extraLen + commentLen;
    }
    return true;
  }

  static bool inflateRaw(const std::string& in, std::size_t size, std::string* out) {
    using InitFn = int (*)(z_streamp, int, const char*, int);
    using InflateFn = int (*)(z_streamp, int);
    using EndFn = int (*)(z_streamp);
    void* lib = dlopen("libz.so.1", RTLD_NOW);
    if (!lib) return false;
    auto init = reinterpret_cast<InitFn>(dlsym(lib, "inflateInit2_"));
    auto step = reinterpret_cast<InflateFn>(dlsym(lib, "inflate"));
    auto done = reinterpret_cast<EndFn>(dlsym(lib, "inflateEnd"));
    if (!init || !step || !done) return false;
    z_stream z{};
    out->assign(size, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
    z.avail_in = static_cast<uInt>(in.size());
    z.next_out = reinterpret_cast<Bytef*>(out->data());
    z.avail_out = static_cast<uInt>(out->size());
    if (init(&z, -MAX_WBITS, ZLIB_VERSION, static_cast<int>(sizeof(z_stream))) != Z_OK) return false;
    int r = step(&z, Z_FINISH);
    done(&z);
    dlclose(lib);
    return r == Z_STREAM_END && z.total_out == size;
  }

  std::string bytes_;
  std::map<std::string, std::string> entries_;
  bool valid_ = false;
};

class ExcelExportTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("slownik_xlsx_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir_);
    rt::clearError();
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string path(const char* name) const { return (dir_ / name).string(); }

  std::filesystem::path dir_;
};

ExportList warehouses() {
  ExportList list;
  list.columns = {{"Symbol", "@s10", 40}, {"Nazwa magazynu", "@s50", 100}, {"Wartość", "@n-12.2", 60}, {"Ilość", "@n6", 30}};
  list.rows = {
      {"MAG1", "Magazyn główny – Łódź", "1 234,56", "12"},
      {"MAG2", "Zażółć gęślą jaźń", "-7.25", ""},
      {"MAG3", "Hurtownia \"Pod Dębem\" & <Syn>", "brak", "3"},
  };
  return list;
}

TEST_F(ExcelExportTest, SpreadsheetHoldsTheListWithPolishLettersAndNumbers) {
  const std::string file = path("magazyny.xlsx");
  ASSERT_EQ(EXPORTBROWSERTOEXCEL(warehouses(), file, "Magazyny"), file) << rt::errorText();
  EXPECT_EQ(rt::errorCode(), 0);

  ZipEntries zip(file);
  ASSERT_TRUE(zip.valid());
  ASSERT_TRUE(zip.contains("xl/worksheets/sheet1.xml"));
  EXPECT_NE(zip.text("xl/workbook.xml").find("name=\"Magazyny\""), std::string::npos);

  const std::string sheet = zip.text("xl/worksheets/sheet1.xml");
  for (const char* text : {"Nazwa magazynu", "Wartość", "Magazyn główny – Łódź", "Zażółć gęślą jaźń",
                           "Hurtownia \"Pod Dębem\" &amp; &lt;Syn&gt;"}) {
    EXPECT_NE(sheet.find(text), std::string::npos) << text;
  }
  // Numbers of numeric columns are numbers; what is no number stays text.
  EXPECT_NE(sheet.find("<v>1234.56</v>"), std::string::npos);
  EXPECT_NE(sheet.find("<v>-7.25</v>"), std::string::npos);
  EXPECT_NE(sheet.find("<v>12</v>"), std::string::npos);
  EXPECT_NE(sheet.find(">brak<"), std::string::npos);
  EXPECT_EQ(sheet.find("<v>MAG1</v>"), std::string::npos);
  // The numeric column shows its two places.
  EXPECT_NE(zip.text("xl/styles.xml").find("formatCode=\"0.00\""), std::string::npos);
}

TEST_F(ExcelExportTest, FailuresAreReportedNotThrown) {
  EXPECT_EQ(EXPORTBROWSERTOEXCEL(warehouses(), path("nie_ma/katalogu/plik.xlsx")), "");
  EXPECT_NE(rt::errorCode(), 0);
  EXPECT_NE(rt::errorText(), "");
  rt::clearError();
  EXPECT_EQ(EXPORTBROWSERTOEXCEL(warehouses(), ""), "");
  EXPECT_NE(rt::errorCode(), 0);
}

TEST_F(ExcelExportTest, AwkwardSheetNamesAndRaggedRowsStillWrite) {
  ExportList list = warehouses();
  list.rows.push_back({"MAG4"});                              // shorter than the header
  list.rows.push_back({"MAG5", "x", "1", "2", "nadmiarowa"});  // longer than the header
  const std::string file = path("dziwne.xlsx");
  ASSERT_EQ(EXPORTBROWSERTOEXCEL(list, file, "'Lista: [magazynów]/2024 — bardzo długa nazwa arkusza'"), file)
      << rt::errorText();
  ZipEntries zip(file);
  ASSERT_TRUE(zip.valid());
  EXPECT_NE(zip.text("xl/worksheets/sheet1.xml").find("MAG5"), std::string::npos);
  EXPECT_EQ(zip.text("xl/worksheets/sheet1.xml").find("nadmiarowa"), std::string::npos);
}

}  // namespace
}  // namespace slownik::svc
