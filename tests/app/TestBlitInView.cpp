// The examiner's picture in the window: where the frame lands, the
// 256-colour display path showing the dithered frame in the cube's colours,
// and the message when there is no renderer to draw it.
#include <gtest/gtest.h>

#include <QImage>

#include "TestExaminerFixture.h"

namespace examiner_test {
namespace {

constexpr QRgb kCyan = qRgb(0, 255, 255);  // the default background, 5-6-5 widened

using ExaminerPicture = RenderedViewFixture;

TEST_F(ExaminerPicture, LargeWindowShowsTheFullFrameCentred) {
  MakeView(RealRenderer(m_profile), QSize(1000, 700));
  ASSERT_NE(m_binding->View(), nullptr) << "the renderer library must be built beside the tests";
  const QImage shown = Paint();
  ASSERT_EQ(m_binding->Width(), 800);
  ASSERT_EQ(m_binding->Height(), 600);
  EXPECT_EQ(shown.pixel(100, 50), kCyan);
  EXPECT_EQ(shown.pixel(899, 649), kCyan);
  EXPECT_NE(shown.pixel(99, 50), kCyan);
  EXPECT_NE(shown.pixel(100, 49), kCyan);
  EXPECT_NE(shown.pixel(900, 649), kCyan);
  EXPECT_NE(shown.pixel(899, 650), kCyan);
}

TEST_F(ExaminerPicture, WindowUpToFullSizeShowsTheFrameFromTheTopLeft) {
  MakeView(RealRenderer(m_profile), QSize(640, 480));
  ASSERT_NE(m_binding->View(), nullptr);
  // The renderer's view takes the window's size.
  ASSERT_EQ(m_binding->Width(), 640);
  ASSERT_EQ(m_binding->Height(), 480);
  const QImage shown = Paint();
  EXPECT_EQ(shown.pixel(0, 0), kCyan);
  EXPECT_EQ(shown.pixel(639, 479), kCyan);
}

TEST_F(ExaminerPicture, EightBitDisplayShowsTheCubesColoursAndDithersOnce) {
  MakeView(RealRenderer(m_profile), QSize(640, 480), true, 8);
  ASSERT_NE(m_binding->View(), nullptr);
  const QImage first = Paint();
  EXPECT_TRUE(m_binding->Dithered());
  const QImage second = Paint();
  EXPECT_EQ(first, second);
  // Cyan lies between cube colours: the dither mixes green levels 4 and 5
  // with blue level 4, and every pixel is one of the cube's colours.
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      const QRgb pixel = first.pixel(x, y);
      EXPECT_EQ(qRed(pixel), 0);
      EXPECT_TRUE(qGreen(pixel) == 250 || qGreen(pixel) == 200) << qGreen(pixel);
      EXPECT_EQ(qBlue(pixel), 200);
    }
  }
  // A new frame is dithered anew.
  m_binding->DrawScene(m_text.get());
  EXPECT_FALSE(m_binding->Dithered());
  Paint();
  EXPECT_TRUE(m_binding->Dithered());
}

TEST_F(ExaminerPicture, MissingRendererIsReportedAtEachInitialUpdate) {
  CVRMLView& view = MakeView(NoRenderer(m_profile), QSize(320, 200), false);
  view.InitialUpdate();
  view.InitialUpdate();
  ASSERT_EQ(m_script.messages.size(), 2u);
  EXPECT_EQ(m_script.messages[0].text, QStringLiteral("Can not start 3D viewer"));
  EXPECT_EQ(m_script.messages[0].caption, QStringLiteral("Glyphkiln"));
}

TEST_F(ExaminerPicture, RendererPresentGivesNoMessage) {
  CVRMLView& view = MakeView(RealRenderer(m_profile), QSize(320, 200), false);
  ASSERT_NE(m_binding->View(), nullptr);
  view.InitialUpdate();
  EXPECT_TRUE(m_script.messages.empty());
}

}  // namespace
}  // namespace examiner_test
