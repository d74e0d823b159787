// The start-up picture: present in the program, 414 x 295 with its own
// 256-colour table, centred on the screen; a missing one shows nothing.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include "CubePalette.h"
#include "SplashWindow.h"

namespace {

TEST(SplashWindow, PictureIsBuiltInWithItsOwn256Colours) {
  const CSplashWindow splash;
  ASSERT_TRUE(splash.HasPicture());
  const QImage& picture = splash.Picture();
  EXPECT_EQ(picture.size(), QSize(414, 295));
  EXPECT_EQ(picture.format(), QImage::Format_Indexed8);
  ASSERT_EQ(picture.colorCount(), 256);
  // Made in the colour cube, so that a 256-colour display shows it unchanged.
  const CubePalette cube;
  for (int index = CubePalette::kFirstOwnEntry; index < CubePalette::CubeIndex(5, 5, 5); ++index) {
    const PaletteEntry& entry = cube[index];
    EXPECT_EQ(picture.color(index), qRgb(entry.red, entry.green, entry.blue)) << index;
  }
  EXPECT_EQ(splash.size(), picture.size());
}

TEST(SplashWindow, MissingPictureLeavesTheWindowEmpty) {
  const CSplashWindow splash(QStringLiteral(":/splash/no-such-picture.bmp"));
  EXPECT_FALSE(splash.HasPicture());
}

TEST(SplashWindow, PictureIsCentredOnTheScreen) {
  EXPECT_EQ(CSplashWindow::CentredOrigin(QSize(1024, 768), QSize(414, 295)), QPoint(305, 236));
  // A screen smaller than the picture still centres it.
  EXPECT_EQ(CSplashWindow::CentredOrigin(QSize(400, 295), QSize(414, 295)), QPoint(-7, 0));
}

}  // namespace
