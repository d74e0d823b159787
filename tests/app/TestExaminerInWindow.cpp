// The examiner pane inside the real main window: it shows the lit red
// letters on cyan, keys handed on from the layout view turn them, and the
// hidden Save GIF command reaches it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>

#include "AppTestSupport.h"
#include "CommandTable.h"
#include "RendererBinding.h"
#include "TestExaminerSupport.h"
#include "VRMLView.h"

namespace {

struct PictureCounts {
  int cyan = 0;
  int red = 0;  // shaded red of the letters' faces and sides
  int total = 0;
};

PictureCounts Count(const QImage& image) {
  PictureCounts counts;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb pixel = image.pixel(x, y);
      ++counts.total;
      if (pixel == qRgb(0, 255, 255))
        ++counts.cyan;
      else if (qRed(pixel) > 60 && qRed(pixel) > 2 * qGreen(pixel) && qRed(pixel) > 2 * qBlue(pixel))
        ++counts.red;
    }
  }
  return counts;
}

QImage Shown(CVRMLView& view) {
  QApplication::processEvents();
  return view.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

class ExaminerInWindow : public ::testing::Test {
 protected:
  ProfileScope m_profile;
  AppWindow m_window;
  CVRMLView& Examiner() { return *m_window.frame->ExaminerView(); }
};

TEST_F(ExaminerInWindow, LowerPaneShowsRedLettersOnCyan) {
  ASSERT_NE(m_window.doc->Binding().View(), nullptr) << "libRastel16.so must lie beside the tests";
  ASSERT_GT(Examiner().height(), m_window.View()->height());
  const PictureCounts counts = Count(Shown(Examiner()));
  EXPECT_GT(counts.cyan, counts.total / 3);
  EXPECT_GT(counts.red, counts.total / 50);
}

TEST_F(ExaminerInWindow, ArrowHandedOnFromTheLayoutViewTurnsTheLetters) {
  ASSERT_NE(m_window.doc->Binding().View(), nullptr);
  const QImage before = Shown(Examiner());
  examiner_test::SendKey(*m_window.View(), Qt::Key_Right);
  const QImage after = Shown(Examiner());
  EXPECT_NE(before, after);
  EXPECT_GT(Count(after).red, Count(after).total / 100);
}

TEST_F(ExaminerInWindow, SaveGifCommandWritesThePicture) {
  ASSERT_NE(m_window.doc->Binding().View(), nullptr);
  examiner_test::PromptScript script;
  script.gifPath = QDir(m_profile.Dir()).filePath(QStringLiteral("shot.gif"));
  Examiner().SetPrompts(std::make_unique<examiner_test::ScriptedPrompts>(script));
  QApplication::processEvents();
  EXPECT_TRUE(m_window.frame->Execute(kCmdSaveGif));
  EXPECT_TRUE(script.messages.empty());
  QFile file(script.gifPath);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.read(6), QByteArray("GIF87a"));
}

}  // namespace

namespace {

TEST_F(ExaminerInWindow, TabInTheExaminerKeepsTheFocus) {
  Examiner().setFocus();
  QApplication::processEvents();
  ASSERT_TRUE(Examiner().hasFocus());
  examiner_test::SendKey(Examiner(), Qt::Key_Tab);
  QApplication::processEvents();
  EXPECT_TRUE(Examiner().hasFocus());
}

}  // namespace
