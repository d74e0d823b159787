// Examiner views for the tests. ExaminerFixture: a view on a binding without
// renderer; every camera operation still happens, so keys, drags and spins
// can be read back from the camera. RenderedViewFixture: a view on the real
// renderer (or none), drawing a fitted text, for what is painted and saved.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <memory>

#include "TestExaminerSupport.h"

namespace examiner_test {

class ExaminerFixture : public ::testing::Test {
 protected:
  ExaminerFixture()
      : m_binding(std::make_unique<RendererBinding>(NoRenderer(m_profile))), m_text(BoxText()) {
    m_binding->FitCamera(m_text.get());
    m_fitted = Camera();
  }
  ~ExaminerFixture() override {
    m_view.reset();
    m_binding.reset();
  }

  // A view with the given kept settings.
  CVRMLView& MakeView(int rotationSpeed = CVRMLView::kFast, int autoRotate = 0) {
    m_view = std::make_unique<CVRMLView>(*m_binding);
    m_view->SetRotation(autoRotate, rotationSpeed);
    m_view->SetPrompts(std::make_unique<ScriptedPrompts>(m_script));
    m_view->SetClock(m_clock.Function());
    m_view->SetKeyboardRepeat(500, 30);
    m_view->resize(400, 300);
    return *m_view;
  }

  CameraFrame Camera() const { return m_binding->ViewCamera().Frame(); }

  ProfileScope m_profile;
  std::unique_ptr<RendererBinding> m_binding;
  std::unique_ptr<CText3D> m_text;
  CameraFrame m_fitted{};
  ManualClock m_clock;
  PromptScript m_script;
  std::unique_ptr<CVRMLView> m_view;
};

class RenderedViewFixture : public ::testing::Test {
 protected:
  ~RenderedViewFixture() override {
    m_view.reset();
    m_binding.reset();
  }

  // A new binding and view of `size`, shown (and so sized and drawn) unless
  // `shown` is false.
  CVRMLView& MakeView(const RendererBindingOptions& options, QSize size, bool shown = true,
                      int displayDepth = 24) {
    m_view.reset();
    m_binding = std::make_unique<RendererBinding>(options);
    m_binding->FitCamera(m_text.get());
    m_view = std::make_unique<CVRMLView>(*m_binding);
    m_view->SetLetters([this] { return m_text.get(); });
    m_view->SetPrompts(std::make_unique<ScriptedPrompts>(m_script));
    m_view->SetDisplayDepth(displayDepth);
    m_view->resize(size);
    if (shown) {
      m_view->show();
      QApplication::processEvents();
    }
    return *m_view;
  }
  QImage Paint() const { return m_view->grab().toImage().convertToFormat(QImage::Format_RGB32); }

  ProfileScope m_profile;
  std::unique_ptr<CText3D> m_text = BoxText();
  PromptScript m_script;
  std::unique_ptr<RendererBinding> m_binding;
  std::unique_ptr<CVRMLView> m_view;
};

}  // namespace examiner_test
