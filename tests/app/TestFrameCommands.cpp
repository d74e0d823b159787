// The main window's own commands: the two panes and the focus moving
// between them, renewing, opening and saving the document, Help.
#include <QFile>
#include <QSplitter>
#include <QStatusBar>

#include "AppTestSupport.h"
#include "CommandTable.h"
#include "HelpContents.h"
#include "Text3D.h"
#include "VRMLView.h"

TEST(FrameCommands, WindowHasItsTitleAndThePanesTheirShares) {
  ProfileScope profile;
  CZarnDoc doc;
  CMainFrame frame(&doc);
  EXPECT_EQ(frame.windowTitle(), "Stellwick Glyphkiln");
  QSplitter* splitter = frame.Splitter();
  ASSERT_EQ(splitter->count(), 2);
  EXPECT_EQ(splitter->widget(0), frame.LayoutView());
  EXPECT_EQ(splitter->widget(1), frame.ExaminerView());
  EXPECT_EQ(splitter->orientation(), Qt::Vertical);
  frame.resize(800, 800);
  frame.show();
  QApplication::processEvents();
  const QList<int> sizes = splitter->sizes();
  ASSERT_EQ(sizes.size(), 2);
  EXPECT_NEAR(static_cast<double>(sizes[1]) / (sizes[0] + sizes[1]), 0.75, 0.05);
  EXPECT_GE(frame.ExaminerView()->minimumHeight(), 8);
  // The status bar: "Ready" and the three lock-key panes.
  EXPECT_EQ(frame.MessageText(), "Ready");
  EXPECT_NE(frame.statusBar()->findChild<QWidget*>("CAP"), nullptr);
  EXPECT_NE(frame.statusBar()->findChild<QWidget*>("NUM"), nullptr);
  EXPECT_NE(frame.statusBar()->findChild<QWidget*>("SCRL"), nullptr);
}

TEST(FrameCommands, F6MovesTheFocusBetweenTheVisiblePanes) {
  ProfileScope profile;
  AppWindow app;
  app.frame->activateWindow();
  app.View()->setFocus();
  app.frame->Execute(kCmdNextPane);
  EXPECT_TRUE(app.frame->ExaminerView()->hasFocus());
  app.frame->Execute(kCmdNextPane);
  EXPECT_TRUE(app.View()->hasFocus());
  app.frame->Execute(kCmdPrevPane);
  EXPECT_TRUE(app.frame->ExaminerView()->hasFocus());
  // With the examiner pane hidden there is only one pane to go to.
  app.frame->HideExaminerPane();
  EXPECT_TRUE(app.View()->hasFocus());
  app.frame->Execute(kCmdNextPane);
  EXPECT_TRUE(app.View()->hasFocus());
}

TEST(FrameCommands, SavingTheDocumentWritesAnEmptyFileAndOpeningReadsNothing) {
  ProfileScope profile;
  AppWindow app;
  const QString path = profile.File("letters.zarn");
  ChooseFileWhenAsked(path);
  app.frame->Execute(kCmdFileSave);
  ASSERT_TRUE(QFile::exists(path));
  EXPECT_EQ(QFile(path).size(), 0);
  EXPECT_EQ(app.doc->PathName(), path);
  // The second save goes to the same file without asking.
  app.frame->Execute(kCmdFileSave);
  EXPECT_EQ(QFile(path).size(), 0);

  // Opening a file renews the letters like Ctrl+N; nothing in the file matters.
  app.View()->SetText("Open");
  app.View()->HandleKey(Qt::Key_Tab, 1, Qt::NoModifier);
  ChooseFileWhenAsked(path);
  app.frame->Execute(kCmdFileOpen);
  EXPECT_EQ(app.View()->CurrentText()->text, "Open");
  EXPECT_TRUE(app.View()->Selection().empty());
  EXPECT_EQ(app.doc->PathName(), path);
}

TEST(FrameCommands, HelpFindsTheReadme) {
  const QString path = HelpFilePath();
  ASSERT_FALSE(path.isEmpty());
  EXPECT_TRUE(path.endsWith("README.md"));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.readAll().contains("Glyphkiln"));
}

TEST(FrameCommands, AboutShowsTheAboutBox) {
  ProfileScope profile;
  AppWindow app;
  QString title;
  WhenModal([&title](QWidget* dialog) {
    title = dialog->windowTitle();
    static_cast<QDialog*>(dialog)->accept();
  });
  EXPECT_TRUE(app.frame->Execute(kCmdAbout));
  EXPECT_EQ(title, "About");
}

TEST(FrameCommands, ExitClosesTheWindow) {
  ProfileScope profile;
  AppWindow app;
  ASSERT_TRUE(app.frame->isVisible());
  app.frame->Execute(kCmdExit);
  EXPECT_FALSE(app.frame->isVisible());
  // Closing saved the bar state.
  EXPECT_EQ(profile.Settings().GetInt("Layouts-Bar0", "BarID", -1), 59392);
}
