// While pieces are selected, the commands that would rebuild or relight all
// letters (Text, Font, Light, Height, Background of the Options menu) are
// greyed everywhere; the examiner's own Light and Background stay usable.
#include <QAction>

#include "AppTestSupport.h"
#include "CommandTable.h"

namespace {

const int kDisabledWithSelection[] = {kCmdText, kCmdFont, kCmdLight, kCmdHeight, kCmdBackground};
const int kAlwaysEnabled[] = {kCmdLightExaminer, kCmdBackgroundExaminer, kCmdColour, kCmdShape, kCmdSaveVrml,
                              kCmdExport,        kCmdExaminerOptions,    kCmdRed,    kCmdAbout};

}  // namespace

TEST(CommandEnabling, SelectionGreysTheWholeTextCommandsOnly) {
  ProfileScope profile;
  AppWindow app;
  for (int id : kDisabledWithSelection) EXPECT_TRUE(app.frame->Action(id)->isEnabled()) << id;

  app.View()->HandleKey(Qt::Key_Tab, 1, Qt::NoModifier);
  ASSERT_EQ(app.View()->Selection().size(), 1u);
  for (int id : kDisabledWithSelection) EXPECT_FALSE(app.frame->Action(id)->isEnabled()) << id;
  for (int id : kAlwaysEnabled) EXPECT_TRUE(app.frame->Action(id)->isEnabled()) << id;
  // A greyed command does nothing even when asked for directly.
  EXPECT_FALSE(app.frame->Execute(kCmdHeight));

  // Emptying the selection by a plain click beside the letters enables them again.
  app.View()->Click(0, 0, Qt::NoModifier);
  ASSERT_TRUE(app.View()->Selection().empty());
  for (int id : kDisabledWithSelection) EXPECT_TRUE(app.frame->Action(id)->isEnabled()) << id;
}

TEST(CommandEnabling, RebuildingTheLettersEnablesTheCommandsAgain) {
  ProfileScope profile;
  AppWindow app;
  app.View()->HandleKey(Qt::Key_Tab, 1, Qt::NoModifier);
  ASSERT_FALSE(app.frame->Action(kCmdText)->isEnabled());
  // Ctrl+N renews the document; its new letters start without a selection.
  EXPECT_TRUE(app.frame->Execute(kCmdFileNew));
  EXPECT_TRUE(app.View()->Selection().empty());
  EXPECT_TRUE(app.frame->Action(kCmdText)->isEnabled());
}
