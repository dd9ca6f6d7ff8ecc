// A printed list leaves the host as a PDF file with its table laid out over as many
// pages as its rows need.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "framework/services/list_print.h"
#include "host/print_preview.h"

namespace slownik::host {
namespace {

QByteArray pdfOf(const svc::ExportList& list, const QString& path) {
  const std::string html = svc::printedListHtml({"Demo Handel", "Banki", "09.12.2026", ""}, list);
  EXPECT_TRUE(printDocumentToPdf(QString::fromStdString(html), QStringLiteral("Banki"), path));
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly));
  return file.readAll();
}

int pageCount(const QByteArray& pdf) { return static_cast<int>(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r")); }

TEST(PrintPreview, ALongListPrintsToAPdfOfSeveralPages) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  svc::ExportList list;
  list.columns = {{"Numer", "@s8", 40}, {"Nazwa banku", "@s60", 160}};
  list.rows = {{"10201026", "Bank Spółdzielczy w Żółkiewce"}};
  const QByteArray one = pdfOf(list, dir.filePath("jeden.pdf"));
  ASSERT_TRUE(one.startsWith("%PDF"));

  for (int i = 0; i < 400; ++i) list.rows.push_back({std::to_string(10000000 + i), "Bank " + std::to_string(i)});
  const QByteArray many = pdfOf(list, dir.filePath("wiele.pdf"));
  ASSERT_TRUE(many.startsWith("%PDF"));
  EXPECT_GT(many.size(), one.size());
  EXPECT_GT(pageCount(many), pageCount(one)) << "400 rows do not fit one page";
}

TEST(PrintPreview, AFileThatCannotBeWrittenIsReported) {
  EXPECT_FALSE(printDocumentToPdf(QStringLiteral("<p>x</p>"), QStringLiteral("x"),
                                  QStringLiteral("/nonexistent-folder/wydruk.pdf")));
}

}  // namespace
}  // namespace slownik::host
