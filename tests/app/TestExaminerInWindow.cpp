// The examiner pane inside the real main window: it shows the lit red
// letters on cyan, keys handed on from the layout view turn and zoom them,
// and the hidden Save GIF command reaches it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QWheelEvent>
#include <cstdlib>
#include <vector>

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

// A held arrow as the window systems report it: X11 repeats with a release
// and a press both marked auto-repeated, Wayland with presses alone; every
// event has a count of one. In either pane it leaves the letters spinning
// when auto rotation is on, and a single press does not.
TEST_F(ExaminerInWindow, HeldArrowSpinsFromEitherPaneWithTheDesktopsAutoRepeat) {
  enum class Desktop { X11, Wayland, SinglePress };
  struct Case {
    Desktop desktop;
    bool toLayout;
  };
  const Case cases[] = {{Desktop::X11, false},     {Desktop::X11, true},        {Desktop::Wayland, false},
                        {Desktop::Wayland, true},  {Desktop::SinglePress, false}, {Desktop::SinglePress, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "desktop " << static_cast<int>(c.desktop) << ", layout " << c.toLayout);
    Examiner().SetRotation(1, CVRMLView::kFast);
    // Home stops any spin of the case before.
    Examiner().KeyOperation(Qt::Key_Home, 1, Qt::NoModifier);
    ASSERT_FALSE(Examiner().Spinning());
    QWidget* target = c.toLayout ? static_cast<QWidget*>(m_window.View()) : &Examiner();
    auto send = [target](QEvent::Type type, bool autoRepeat) {
      QKeyEvent event(type, Qt::Key_Left, Qt::NoModifier, QString(), autoRepeat, 1);
      QApplication::sendEvent(target, &event);
    };
    send(QEvent::KeyPress, false);
    for (int n = 0; c.desktop != Desktop::SinglePress && n < 3; ++n) {
      if (c.desktop == Desktop::X11) send(QEvent::KeyRelease, true);
      send(QEvent::KeyPress, true);
    }
    send(QEvent::KeyRelease, false);
    EXPECT_EQ(Examiner().Spinning(), c.desktop != Desktop::SinglePress);
    if (Examiner().Spinning()) {
      EXPECT_LT(Examiner().SpinYaw(), 0.0f) << "spinning the way the arrow turned";
    }
  }
}

// One notch of the wheel (120 eighths of a degree, however finely a wheel
// reports them) is one step of the keypad's plus away from the user, minus
// toward; less than a notch waits for the rest.
TEST_F(ExaminerInWindow, WheelNotchesZoomLikeTheKeypadSteps) {
  struct Case {
    std::vector<int> deltas;
    int steps;  // keypad plus steps the deltas amount to (minus when negative)
  };
  const Case cases[] = {{{120}, 1}, {{-120}, -1}, {{40, 40, 40}, 1}, {{60}, 0}, {{360}, 3}, {{-60, -60, -120}, -2}};
  RendererBinding& binding = m_window.doc->Binding();
  for (const Case& c : cases) {
    Examiner().KeyOperation(Qt::Key_Home, 1, Qt::NoModifier);
    for (int n = 0; n < std::abs(c.steps); ++n) {
      Examiner().KeyOperation(c.steps > 0 ? Qt::Key_Plus : Qt::Key_Minus, 1, Qt::KeypadModifier);
    }
    const double expected = examiner_test::EyeDistance(binding);
    Examiner().KeyOperation(Qt::Key_Home, 1, Qt::NoModifier);
    for (int delta : c.deltas) {
      const QPointF at(10, 10);
      QWheelEvent wheel(at, Examiner().mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                        Qt::NoScrollPhase, false);
      QApplication::sendEvent(&Examiner(), &wheel);
    }
    EXPECT_DOUBLE_EQ(examiner_test::EyeDistance(binding), expected) << c.deltas.front() << " " << c.steps;
    // What is left of a notch never carries into the next case.
    Examiner().KeyOperation(Qt::Key_Home, 1, Qt::NoModifier);
    int left = 0;
    for (int delta : c.deltas) left += delta;
    QWheelEvent back(QPointF(), QPointF(), QPoint(), QPoint(0, -(left % 120)), Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QApplication::sendEvent(&Examiner(), &back);
  }
}

// The pane that has the keys after F6 is framed in the highlight colour; a
// click into a pane gives it the keys without a frame.
TEST_F(ExaminerInWindow, PaneReachedByF6ShowsAFocusFrame) {
  m_window.frame->activateWindow();
  const QRgb highlight = m_window.View()->palette().color(QPalette::Highlight).rgb();
  auto framed = [highlight](QWidget& pane) {
    QApplication::processEvents();
    const QImage shown = pane.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const int w = shown.width(), h = shown.height();
    return shown.pixel(0, h / 2) == highlight && shown.pixel(w - 1, h / 2) == highlight &&
           shown.pixel(w / 2, 0) == highlight && shown.pixel(w / 2, h - 1) == highlight;
  };
  m_window.View()->setFocus(Qt::MouseFocusReason);
  if (!m_window.View()->hasFocus()) GTEST_SKIP() << "the platform gives no window the keys";
  EXPECT_FALSE(framed(*m_window.View()));
  m_window.frame->ActivateNextPane(true);
  ASSERT_TRUE(Examiner().hasFocus());
  EXPECT_TRUE(framed(Examiner()));
  EXPECT_FALSE(framed(*m_window.View()));
  m_window.frame->ActivateNextPane(true);
  EXPECT_TRUE(framed(*m_window.View()));
  EXPECT_FALSE(framed(Examiner()));
  Examiner().setFocus(Qt::MouseFocusReason);
  EXPECT_FALSE(framed(Examiner()));
}
