// The examiner pane inside the real main window: it shows the lit red
// letters on cyan, keys handed on from the layout view turn and zoom them,
// and the hidden Save GIF command reaches it.
#include <gtest/gtest.h>

#include <QApplication>
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
  void SetUp() override {
    ASSERT_NE(m_window.doc->Binding().View(), nullptr) << "libRastel16.so must lie beside the tests";
  }
  CVRMLView& Examiner() { return *m_window.frame->ExaminerView(); }
  void SendToLayout(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {}) {
    QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(m_window.View(), &event);
  }

  ProfileScope m_profile;
  AppWindow m_window;
};

TEST_F(ExaminerInWindow, ArrowHandedOnFromTheLayoutViewTurnsTheRedLettersOnCyan) {
  ASSERT_GT(Examiner().height(), m_window.View()->height());
  const QImage before = Shown(Examiner());
  const PictureCounts counts = Count(before);
  EXPECT_GT(counts.cyan, counts.total / 3);
  EXPECT_GT(counts.red, counts.total / 50);

  SendToLayout(Qt::Key_Right);
  const QImage after = Shown(Examiner());
  EXPECT_NE(before, after);
  EXPECT_GT(Count(after).red, Count(after).total / 100);
}

TEST_F(ExaminerInWindow, OnlyTheKeypadPlusHandedOnFromTheLayoutViewZooms) {
  const RendererBinding& binding = m_window.doc->Binding();
  const double before = examiner_test::EyeDistance(binding);
  SendToLayout(Qt::Key_Plus, Qt::NoModifier, QStringLiteral("+"));
  EXPECT_DOUBLE_EQ(examiner_test::EyeDistance(binding), before) << "plus on the main keyboard";
  SendToLayout(Qt::Key_Plus, Qt::KeypadModifier, QStringLiteral("+"));
  EXPECT_LT(examiner_test::EyeDistance(binding), before) << "plus on the keypad";
}

TEST_F(ExaminerInWindow, SaveGifCommandWritesThePicture) {
  examiner_test::PromptScript script;
  script.gifPath = m_profile.File(QStringLiteral("shot.gif"));
  Examiner().SetPrompts(std::make_unique<examiner_test::ScriptedPrompts>(script));
  QApplication::processEvents();
  EXPECT_TRUE(m_window.frame->Execute(kCmdSaveGif));
  EXPECT_TRUE(script.messages.empty());
  QFile file(script.gifPath);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.read(6), QByteArray("GIF87a"));
}

TEST_F(ExaminerInWindow, TabInTheExaminerKeepsTheFocus) {
  Examiner().setFocus();
  QApplication::processEvents();
  ASSERT_TRUE(Examiner().hasFocus());
  examiner_test::SendKey(Examiner(), Qt::Key_Tab);
  QApplication::processEvents();
  EXPECT_TRUE(Examiner().hasFocus());
}

}  // namespace
