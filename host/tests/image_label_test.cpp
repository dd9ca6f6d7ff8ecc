// The image control previews a picture file scaled to the control, keeping its
// proportions; anything else leaves it an icon or empty.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "host/image_label.h"

namespace slownik::host {
namespace {

TEST(ImageLabel, APictureFitsTheControlKeepingItsProportions) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString wide = dir.filePath("naglowek.png");
  QImage(400, 100, QImage::Format_RGB32).save(wide);
  const QString small = dir.filePath("maly.bmp");
  QImage(40, 20, QImage::Format_RGB32).save(small);

  ImageLabel label;
  ASSERT_TRUE(label.showPictureFile(wide));
  EXPECT_EQ(label.sizeHint(), QSize(320, 80)) << "asks for no more than its preferred width";
  struct Case {
    QSize control;
    QSize drawn;
  };
  for (const Case& c : {Case{{200, 200}, {200, 50}}, Case{{800, 40}, {160, 40}}, Case{{1000, 1000}, {400, 100}}}) {
    label.resize(c.control);
    EXPECT_EQ(label.pictureRect().size(), c.drawn) << c.control.width() << "x" << c.control.height();
    EXPECT_EQ(label.pictureRect().center(), label.contentsRect().center());
  }

  ASSERT_TRUE(label.showPictureFile(small));
  label.resize(300, 300);
  EXPECT_EQ(label.pictureRect().size(), QSize(40, 20)) << "a small picture is not blown up";
  EXPECT_EQ(label.sizeHint(), QSize(40, 20));
}

TEST(ImageLabel, NoPictureInTheFileShowsNothing) {
  QTemporaryDir dir;
  const QString text = dir.filePath("opis.png");
  QFile f(text);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("nie obrazek");
  f.close();

  ImageLabel label;
  ASSERT_TRUE(label.showPictureFile(dir.filePath("wide.png")) == false);
  QImage(10, 10, QImage::Format_RGB32).save(dir.filePath("ok.png"));
  ASSERT_TRUE(label.showPictureFile(dir.filePath("ok.png")));
  EXPECT_FALSE(label.showPictureFile(text));
  EXPECT_FALSE(label.hasPicture()) << "the earlier picture is gone";
  EXPECT_TRUE(label.pictureRect().isEmpty());
  label.showIcon(QPixmap(16, 16));
  EXPECT_FALSE(label.hasPicture());
}

}  // namespace
}  // namespace slownik::host
