// A dialog asked for at a control opens beside it and never leaves the screen's
// available area.
#include <gtest/gtest.h>

#include <QDialog>
#include <algorithm>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "host/dialog_place.h"

namespace slownik::host {
namespace {

TEST(DialogPlace, BelowTheControlsRightEndAndKeptOnTheScreen) {
  const QRect screen(0, 0, 1000, 800);
  const QSize calendar(300, 250);
  struct Case {
    const char* what;
    QRect control;
    QPoint offset;
    QPoint expected;
  };
  const Case cases[] = {
      {"room everywhere: at the bottom-right corner, the gap below", {100, 100, 20, 20}, {0, 15}, {120, 135}},
      {"near the right edge: pulled left to fit", {900, 100, 20, 20}, {0, 15}, {700, 135}},
      {"near the bottom: above the control, the same gap away", {100, 700, 20, 20}, {0, 15}, {120, 435}},
      {"left of the area: pulled right", {-200, 100, 20, 20}, {0, 0}, {0, 120}},
  };
  for (const Case& c : cases) EXPECT_EQ(dialogPosition(c.control, calendar, c.offset, screen), c.expected) << c.what;

  // A panel along the top: the area starts below it, and a control higher than the
  // dialog near the bottom still leaves the dialog inside.
  const QRect belowPanel(0, 40, 1000, 760);
  EXPECT_EQ(dialogPosition({100, 50, 20, 740}, calendar, {0, 15}, belowPanel), QPoint(120, 550));
  // Larger than the area: its top-left corner stays in sight.
  EXPECT_EQ(dialogPosition({100, 100, 20, 20}, {1200, 900}, {0, 15}, screen), QPoint(0, 0));
}

TEST(DialogPlace, ADialogMovesBesideAShownButton) {
  QWidget form;
  auto* layout = new QVBoxLayout(&form);
  auto* button = new QPushButton("...");
  layout->addWidget(button);
  form.move(50, 60);
  form.show();
  QDialog dialog;
  dialog.resize(120, 90);
  placeDialogAt(&dialog, button, 0, 15);
  const QRect area = button->screen()->availableGeometry();
  const QPoint corner = button->mapToGlobal(QPoint(button->width(), button->height()));
  EXPECT_EQ(dialog.pos().x(), std::min(corner.x(), area.right() + 1 - dialog.frameGeometry().width()));
  EXPECT_GT(dialog.pos().y(), corner.y()) << "the gap below the button";

  // A hidden control leaves the dialog where it was.
  const QPoint before = dialog.pos();
  button->hide();
  placeDialogAt(&dialog, button, 0, 15);
  EXPECT_EQ(dialog.pos(), before);
}

}  // namespace
}  // namespace slownik::host
