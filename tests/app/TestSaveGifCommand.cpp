// The Save GIF command of the examiner: its messages and the file it writes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>

#include "TestExaminerSupport.h"

namespace examiner_test {
namespace {

class SaveGifCommand : public ::testing::Test {
 protected:
  ~SaveGifCommand() override {
    m_view.reset();
    m_binding.reset();
  }

  CVRMLView& MakeView(const RendererBindingOptions& options, bool shown) {
    m_binding = std::make_unique<RendererBinding>(options);
    m_binding->SetTextProvider(&m_provider);
    m_binding->FitCamera(m_text.get());
    m_view = std::make_unique<CVRMLView>(*m_binding);
    m_view->SetPrompts(std::make_unique<ScriptedPrompts>(m_script));
    m_view->resize(320, 200);
    if (shown) {
      m_view->show();
      QApplication::processEvents();
    }
    return *m_view;
  }
  QString PathInTemp(const QString& name) const { return QDir(m_profile.Directory()).filePath(name); }
  void ExpectOnlyMessage(const char* text, const char* caption) const {
    ASSERT_EQ(m_script.messages.size(), 1u);
    EXPECT_EQ(m_script.messages[0].text, QString::fromLatin1(text));
    EXPECT_EQ(m_script.messages[0].caption, QString::fromLatin1(caption));
  }

  ScopedProfile m_profile;
  std::unique_ptr<CText3D> m_text = BoxText();
  FixedText m_provider{m_text.get()};
  PromptScript m_script;
  std::unique_ptr<RendererBinding> m_binding;
  std::unique_ptr<CVRMLView> m_view;
};

TEST_F(SaveGifCommand, WithoutRendererThereIsNothingToSave) {
  m_script.gifPath = PathInTemp("never.gif");
  MakeView(NoRenderer(m_profile), true).OnSaveGif();
  ExpectOnlyMessage("Nothing to save", "Glyphkiln");
  EXPECT_EQ(m_script.gifPathAsked, 0);
  EXPECT_FALSE(QFile::exists(m_script.gifPath));
}

TEST_F(SaveGifCommand, ViewWithoutDocumentHasNothingToSave) {
  CVRMLView view(nullptr, nullptr);
  view.SetPrompts(std::make_unique<ScriptedPrompts>(m_script));
  view.OnSaveGif();
  ExpectOnlyMessage("Nothing to save", "Glyphkiln");
}

TEST_F(SaveGifCommand, ViewNeverSizedHasNothingToSave) {
  m_script.gifPath = PathInTemp("never.gif");
  CVRMLView& view = MakeView(RealRenderer(m_profile), false);
  ASSERT_NE(m_binding->View(), nullptr);
  view.OnSaveGif();
  ExpectOnlyMessage("Nothing to save", "Glyphkiln");
}

TEST_F(SaveGifCommand, ChosenFileGetsThePictureAsGif) {
  m_script.gifPath = PathInTemp("letters.gif");
  CVRMLView& view = MakeView(RealRenderer(m_profile), true);
  ASSERT_NE(m_binding->View(), nullptr);
  view.OnSaveGif();
  EXPECT_TRUE(m_script.messages.empty());
  QFile file(m_script.gifPath);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray head = file.read(10);
  ASSERT_EQ(head.size(), 10);
  EXPECT_EQ(head.left(6), QByteArray("GIF87a"));
  const int width = static_cast<unsigned char>(head[6]) | static_cast<unsigned char>(head[7]) << 8;
  const int height = static_cast<unsigned char>(head[8]) | static_cast<unsigned char>(head[9]) << 8;
  EXPECT_EQ(width, m_binding->Width());
  EXPECT_EQ(height, m_binding->Height());
}

TEST_F(SaveGifCommand, UncreatableFileIsReportedAsError) {
  m_script.gifPath = PathInTemp("no-such-folder/letters.gif");
  CVRMLView& view = MakeView(RealRenderer(m_profile), true);
  ASSERT_NE(m_binding->View(), nullptr);
  view.OnSaveGif();
  ExpectOnlyMessage("Can not create file", "Error");
}

TEST_F(SaveGifCommand, CancelledDialogWritesNothing) {
  CVRMLView& view = MakeView(RealRenderer(m_profile), true);
  view.OnSaveGif();
  EXPECT_EQ(m_script.gifPathAsked, 1);
  EXPECT_TRUE(m_script.messages.empty());
  EXPECT_TRUE(QDir(m_profile.Directory()).entryList({"*.gif"}).isEmpty());
}

}  // namespace
}  // namespace examiner_test
