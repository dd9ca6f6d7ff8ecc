#include <gtest/gtest.h>

#include <QApplication>
#include <QColor>
#include <QFont>
#include <QHeaderView>

#include "framework/runtime/window.h"
#include "host/list_header_view.h"
#include "host/list_view.h"
#include "host/qt_list_model.h"
#include "host/qt_window.h"

namespace slownik::host {
namespace {

std::shared_ptr<rt::Window> openList(const char* format) {
  rt::WindowDef def;
  def.resource = "slownik$lists";
  def.type = "P1$BROWSEWINDOW";
  rt::ControlDef list;
  list.name = "?LIST";
  list.kind = rt::ControlKind::List;
  list.format = format;
  def.controls = {list};
  return rt::Window::open(std::move(def));
}

struct Closer {
  std::shared_ptr<rt::Window> w;
  ~Closer() {
    if (w) w->close();
    rt::closeThreadWindows();
  }
};

TEST(ListDrawing, HeaderMarksOfTheSorterAsATable) {
  struct Row {
    const char* header;
    const char* title;
    int direction;
    int position;
    const char* drawn;
  } rows[] = {
      {"Nazwa", "Nazwa", 0, 0, "Nazwa"},
      {"Nazwa[+]", "Nazwa", 1, 0, "Nazwa ▲"},
      {"Kod[-]", "Kod", -1, 0, "Kod ▼"},
      {"Kod[-2]", "Kod", -1, 2, "Kod ▼2"},
      {"A   Nazwa[+1]", "A   Nazwa", 1, 1, "A   Nazwa ▲1"},
      {"[+]", "", 1, 0, " ▲"},
      {"Nazwa[x]", "Nazwa[x]", 0, 0, "Nazwa[x]"},
      {"Nazwa[+] banku", "Nazwa[+] banku", 0, 0, "Nazwa[+] banku"},  // a mark only at the end
  };
  for (const Row& r : rows) {
    const HeaderMark m = splitHeaderMark(QString::fromUtf8(r.header));
    EXPECT_EQ(m.title, QString::fromUtf8(r.title)) << r.header;
    EXPECT_EQ(m.direction, r.direction) << r.header;
    EXPECT_EQ(m.position, r.position) << r.header;
    EXPECT_EQ(drawnHeader(QString::fromUtf8(r.header)), QString::fromUtf8(r.drawn)) << r.header;
  }
}

TEST(ListDrawing, CellColoursStylesAndIcons) {
  // Field 1 name, 2-5 its colours, 6 its icon number; field 7 the code.
  auto w = openList("60L(2)|M*I~Nazwa~@s20@Z(1)30L(2)|M~Kod~@s5@Z(2)");
  Closer closer{w};
  w->setIconList("?LIST", {"~boxon.ico"});
  w->setRows("?LIST", {{"Czarny", "0", "", "", "", "1", "A"}, {"Bez koloru", "", "", "255", "65280", "0", "B"}});
  rt::ListStyle bold;
  bold.fontWeight = rt::kBoldWeight;
  bold.backColor = 0xFF0000;  // blue
  rt::ListStyle italicless;
  italicless.fontColor = 0x00FF00;
  w->setListStyle("?LIST", 1, bold);
  w->setListStyle("?LIST", 2, italicless);
  QtListModel model(w, "?LIST");
  ASSERT_EQ(model.columnCount(), 2);
  // A colour field of 0 is black; an empty one gives way to the column's style.
  EXPECT_EQ(model.index(0, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::black));
  EXPECT_EQ(model.index(0, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(0, 0, 255));
  EXPECT_FALSE(model.index(1, 0).data(Qt::ForegroundRole).isValid());
  EXPECT_EQ(model.index(1, 0).data(QtListModel::SelectedForegroundRole).value<QColor>(), QColor(255, 0, 0));
  EXPECT_EQ(model.index(1, 0).data(QtListModel::SelectedBackgroundRole).value<QColor>(), QColor(0, 255, 0));
  EXPECT_TRUE(model.index(0, 0).data(Qt::FontRole).value<QFont>().bold());
  EXPECT_FALSE(model.index(0, 1).data(Qt::FontRole).isValid());
  EXPECT_EQ(model.index(0, 1).data(Qt::ForegroundRole).value<QColor>(), QColor(0, 255, 0));
  EXPECT_EQ(model.index(1, 1).data().toString(), "B");
  EXPECT_FALSE(model.index(0, 0).data(Qt::DecorationRole).isNull());
  EXPECT_FALSE(model.index(1, 0).data(Qt::DecorationRole).isValid());
  // The sorter's mark shows as an arrow.
  w->setColumnHeader("?LIST", 2, "Kod[-]");
  model.refresh();
  EXPECT_EQ(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "Kod ▼");
}

TEST(ListDrawing, RowsOfSeveralLinesAndGroupedHeaders) {
  {
    auto w = openList("60L(2)|M~Nazwa~@s20@40L(2)|M~Kod~@s5@/80L(2)|M~Adres~@s30@");
    Closer closer{w};
    w->setRows("?LIST", {{"Urząd", "001", "Długa 1"}});
    ListView view(new QtListModel(w, "?LIST"));
    view.applyFormat();
    QtListModel& model = *view.listModel();
    EXPECT_EQ(model.lineCount(), 2);
    ASSERT_EQ(model.columnCount(), 2);
    EXPECT_EQ(model.index(0, 0).data().toString(), "Urząd\nDługa 1");
    EXPECT_EQ(model.index(0, 1).data().toString(), "001\n");
    EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "Nazwa\nAdres");
    EXPECT_EQ(model.columnWidth(0), 80);  // the widest of the column's lines
    EXPECT_EQ(model.formatColumn(1), 1);
    const int oneLine = view.verticalHeader()->defaultSectionSize();
    view.setRowHeightUnits(0);
    EXPECT_EQ(view.verticalHeader()->defaultSectionSize(), oneLine);
    EXPECT_GE(oneLine, 2 * view.fontMetrics().height());
  }
  {
    auto w = openList("14L(2)|M~B~@n1@[50L(2)|M~Data~@d17@54R(2)|M~Kurs~@n12_`6@]|M~Kursy NBP~"
                      "[50L(2)|M~Data~@d17@54R(2)|M~Kurs~@n12_`6@]|M~Kursy ECB~");
    Closer closer{w};
    QtWindow drawn(w);
    auto* view = static_cast<ListView*>(drawn.widgetFor("?LIST"));
    ListHeaderView* header = view->header();
    ASSERT_EQ(header->groups().size(), 2u);
    EXPECT_EQ(header->groupOf(0), nullptr);
    ASSERT_NE(header->groupOf(2), nullptr);
    EXPECT_EQ(header->groupOf(2)->title, "Kursy NBP");
    EXPECT_EQ(header->groupOf(3)->title, "Kursy ECB");
    EXPECT_EQ(header->groupOf(4)->first, 3);
    EXPECT_GE(header->sizeHint().height(), 2 * header->fontMetrics().height());
    // Every header fits its column, however narrow the format made it.
    for (int col = 0; col < view->model()->columnCount(); ++col) {
      const QString text = view->model()->headerData(col, Qt::Horizontal).toString();
      EXPECT_GT(view->columnWidth(col), header->fontMetrics().horizontalAdvance(text)) << text.toStdString();
    }
    // A click on a header reaches the window as the format's column.
    drawn.show();
    w->nextEvent(std::chrono::milliseconds(0));
    emit header->sectionClicked(3);
    bool heard = false;
    while (auto e = w->nextEvent(std::chrono::milliseconds(0)))
      if (e->code == rt::event::MouseDown && e->inHeader) heard = e->column == 4;
    EXPECT_TRUE(heard);
  }
}

}  // namespace
}  // namespace slownik::host
