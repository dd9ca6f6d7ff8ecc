#include "framework/services/list_print.h"

#include <gtest/gtest.h>

#include <string>

namespace slownik::svc {
namespace {

ExportList bankList() {
  ExportList list;
  list.columns = {{"Numer", "@s8", 40}, {"Nazwa", "@s60", 120}, {"Saldo", "@n-14`2", 40}};
  list.rows = {{"10201026", "Bank <Śląski> & S-ka", "1 234,50"}, {"10901014", "Bank\tMiejski\nOddział", "-7,00"}};
  return list;
}

std::size_t count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

TEST(PrintedList, HeaderNamesCompanyListDateAndFilterAndEscapesEveryText) {
  PrintHeader header{"Firma \"Żuraw\" & syn", "Banki", "09.12.2026", "zaczyna się od „<B”"};
  const std::string html = printedListHtml(header, bankList());
  EXPECT_NE(html.find("Firma &quot;Żuraw&quot; &amp; syn"), std::string::npos);
  EXPECT_NE(html.find("<h3>Banki</h3>"), std::string::npos);
  EXPECT_NE(html.find("Data wydruku: 09.12.2026"), std::string::npos);
  EXPECT_NE(html.find("Filtr: zaczyna się od „&lt;B”"), std::string::npos);
  EXPECT_NE(html.find("Bank &lt;Śląski&gt; &amp; S-ka"), std::string::npos);
  EXPECT_EQ(html.find("<Śląski>"), std::string::npos) << "a name must not become markup";
  EXPECT_NE(html.find("Liczba pozycji: 2"), std::string::npos);

  // No filter, no company: neither line is printed empty.
  const std::string plain = printedListHtml({"", "Banki", "09.12.2026", ""}, bankList());
  EXPECT_EQ(plain.find("Filtr:"), std::string::npos);
}

TEST(PrintedList, ColumnsKeepTheListsProportionsAndNumbersAlignRight) {
  const std::string html = printedListHtml({"", "Banki", "09.12.2026", ""}, bankList());
  // 40 + 120 + 40 of the list's width: a fifth, three fifths, a fifth of the page.
  EXPECT_NE(html.find("<th width=\"20%\">Numer</th>"), std::string::npos) << html;
  EXPECT_NE(html.find("<th width=\"60%\">Nazwa</th>"), std::string::npos);
  EXPECT_NE(html.find("<th width=\"20%\" class=\"n\">Saldo</th>"), std::string::npos);
  EXPECT_NE(html.find("<td class=\"n\">1 234,50</td>"), std::string::npos);
  EXPECT_EQ(count(html, "<tr>"), 3u);  // the header row and two rows
  // The header row sits in the table's head, so every printed page repeats it.
  EXPECT_LT(html.find("<thead>"), html.find("Numer"));
}

TEST(PrintedList, ShortRowsFillTheirMissingCellsEmpty) {
  ExportList list = bankList();
  list.rows = {{"10201026"}};
  const std::string html = printedListHtml({"", "Banki", "", ""}, list);
  EXPECT_NE(html.find("<td>10201026</td><td></td><td class=\"n\"></td>"), std::string::npos) << html;
}

TEST(TabSeparatedList, HeaderLineThenOneLineARowWithBreaksInValuesFlattened) {
  EXPECT_EQ(tabSeparatedList(bankList()),
            "Numer\tNazwa\tSaldo\n"
            "10201026\tBank <Śląski> & S-ka\t1 234,50\n"
            "10901014\tBank Miejski Oddział\t-7,00");
  ExportList headersOnly = bankList();
  headersOnly.rows.clear();
  EXPECT_EQ(tabSeparatedList(headersOnly), "Numer\tNazwa\tSaldo");
}

}  // namespace
}  // namespace slownik::svc
