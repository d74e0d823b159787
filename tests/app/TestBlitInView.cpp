// The examiner's picture in the window: where the frame lands, and the
// 256-colour display path showing the dithered frame in the cube's colours.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>

#include "TestExaminerSupport.h"

namespace examiner_test {
namespace {

constexpr QRgb kCyan = qRgb(0, 255, 255);  // the default background, 5-6-5 widened

class ExaminerPicture : public ::testing::Test {
 protected:
  ExaminerPicture()
      : m_binding(std::make_unique<RendererBinding>(RealRenderer(m_profile))),
        m_text(BoxText()),
        m_provider(m_text.get()) {
    m_binding->SetTextProvider(&m_provider);
    m_binding->FitCamera(m_text.get());
  }
  ~ExaminerPicture() override {
    m_view.reset();
    m_binding.reset();
  }

  // Shows the view at the given size and returns what it paints.
  QImage ShowAt(int width, int height, int displayDepth = 24) {
    m_view = std::make_unique<CVRMLView>(*m_binding);
    m_view->SetDisplayDepth(displayDepth);
    m_view->resize(width, height);
    m_view->show();
    QApplication::processEvents();
    return Paint();
  }
  QImage Paint() { return m_view->grab().toImage().convertToFormat(QImage::Format_RGB32); }

  ScopedProfile m_profile;
  std::unique_ptr<RendererBinding> m_binding;
  std::unique_ptr<CText3D> m_text;
  FixedText m_provider;
  std::unique_ptr<CVRMLView> m_view;
};

TEST_F(ExaminerPicture, LargeWindowShowsTheFullFrameCentred) {
  ASSERT_NE(m_binding->View(), nullptr) << "the renderer library must be built beside the tests";
  const QImage shown = ShowAt(1000, 700);
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
  ASSERT_NE(m_binding->View(), nullptr);
  const QImage shown = ShowAt(640, 480);
  EXPECT_EQ(shown.pixel(0, 0), kCyan);
  EXPECT_EQ(shown.pixel(m_binding->Width() - 1, m_binding->Height() - 1), kCyan);
}

TEST_F(ExaminerPicture, EightBitDisplayShowsTheCubesColoursAndDithersOnce) {
  ASSERT_NE(m_binding->View(), nullptr);
  const QImage first = ShowAt(640, 480, 8);
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
  m_binding->Redraw();
  EXPECT_FALSE(m_binding->Dithered());
  Paint();
  EXPECT_TRUE(m_binding->Dithered());
}

TEST_F(ExaminerPicture, ResizeSizesTheRendererViewWithinItsLimits) {
  ASSERT_NE(m_binding->View(), nullptr);
  ShowAt(1200, 300);
  EXPECT_EQ(m_binding->Width(), 800);
  EXPECT_EQ(m_binding->Height(), 300);
}

TEST_F(ExaminerPicture, MissingRendererIsReportedAtEachInitialUpdate) {
  m_view.reset();
  m_binding = std::make_unique<RendererBinding>(NoRenderer(m_profile));
  PromptScript script;
  CVRMLView view(*m_binding);
  view.SetPrompts(std::make_unique<ScriptedPrompts>(script));
  view.InitialUpdate();
  view.InitialUpdate();
  ASSERT_EQ(script.messages.size(), 2u);
  EXPECT_EQ(script.messages[0].text, QStringLiteral("Can not start 3D viewer"));
  EXPECT_EQ(script.messages[0].caption, QStringLiteral("Glyphkiln"));
}

TEST_F(ExaminerPicture, RendererPresentGivesNoMessage) {
  ASSERT_NE(m_binding->View(), nullptr);
  PromptScript script;
  CVRMLView view(*m_binding);
  view.SetPrompts(std::make_unique<ScriptedPrompts>(script));
  view.InitialUpdate();
  EXPECT_TRUE(script.messages.empty());
}

}  // namespace
}  // namespace examiner_test
