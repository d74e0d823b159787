// The Save GIF command of the examiner: its messages and the file it writes.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "TestExaminerFixture.h"

namespace examiner_test {
namespace {

class SaveGifCommand : public RenderedViewFixture {
 protected:
  void ExpectOnlyMessage(const char* text, const char* caption) const {
    ASSERT_EQ(m_script.messages.size(), 1u);
    EXPECT_EQ(m_script.messages[0].text, QString::fromLatin1(text));
    EXPECT_EQ(m_script.messages[0].caption, QString::fromLatin1(caption));
  }
};

constexpr QSize kSize(320, 200);

TEST_F(SaveGifCommand, WithoutDocumentRendererOrSizeThereIsNothingToSave) {
  struct Case {
    const char* name;
    bool real;
    bool shown;
  };
  for (const Case& c : {Case{"no renderer", false, true}, Case{"never sized", true, false}}) {
    SCOPED_TRACE(c.name);
    m_script = PromptScript();
    m_script.gifPath = m_profile.File("never.gif");
    MakeView(Renderer(m_profile, c.real), kSize, c.shown).OnSaveGif();
    ExpectOnlyMessage("Nothing to save", "Glyphkiln");
    EXPECT_EQ(m_script.gifPathAsked, 0) << "no file is asked for";
    EXPECT_FALSE(QFile::exists(m_script.gifPath));
  }
}

TEST_F(SaveGifCommand, ChosenFileGetsThePictureAsGif) {
  m_script.gifPath = m_profile.File("letters.gif");
  CVRMLView& view = MakeView(RealRenderer(m_profile), kSize);
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
  m_script.gifPath = m_profile.File("no-such-folder/letters.gif");
  CVRMLView& view = MakeView(RealRenderer(m_profile), kSize);
  ASSERT_NE(m_binding->View(), nullptr);
  view.OnSaveGif();
  ExpectOnlyMessage("Can not create file", "Error");
}

TEST_F(SaveGifCommand, CancelledDialogWritesNothing) {
  CVRMLView& view = MakeView(RealRenderer(m_profile), kSize);
  view.OnSaveGif();
  EXPECT_EQ(m_script.gifPathAsked, 1);
  EXPECT_TRUE(m_script.messages.empty());
  EXPECT_TRUE(QDir(m_profile.Dir()).entryList({"*.gif"}).isEmpty());
}

}  // namespace
}  // namespace examiner_test
