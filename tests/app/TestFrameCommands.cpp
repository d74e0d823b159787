// The main window's own commands: the two panes and the focus moving
// between them, renewing, opening and saving the document, Help.
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
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

TEST(FrameCommands, HelpPageIsTheUsersOwnAndAFailedBrowserIsReported) {
  const QString page = HelpPagePath();
  ASSERT_FALSE(page.isEmpty());
  const QFileInfo folder(QFileInfo(page).absolutePath());
  EXPECT_NE(folder.absoluteFilePath(), QFileInfo(QDir::tempPath()).absoluteFilePath()) << "not the shared temp folder";
  EXPECT_TRUE(folder.isDir());
  // No one else may write there (or in the folder that holds it).
  for (const QFileInfo& dir : {folder, QFileInfo(folder.absolutePath())}) {
    EXPECT_FALSE(dir.permissions() & (QFileDevice::WriteGroup | QFileDevice::WriteOther))
        << dir.absoluteFilePath().toStdString();
  }

  // An opener that fails, and none at all: each is told, naming the page.
  ProfileScope scratch;
  const QString failing = scratch.File("bin");
  ASSERT_TRUE(QDir().mkpath(failing));
  QFile opener(failing + "/xdg-open");
  ASSERT_TRUE(opener.open(QIODevice::WriteOnly));
  opener.write("#!/bin/sh\nexit 3\n");
  opener.close();
  opener.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  const QByteArray path = qgetenv("PATH");
  for (const QString& searched : {failing, scratch.File("empty")}) {
    qputenv("PATH", searched.toLocal8Bit());
    MessageRecorder recorder;
    ShowHelpContents(nullptr);
    QElapsedTimer waited;
    waited.start();
    while (recorder.messages.empty() && waited.elapsed() < 20000) QApplication::processEvents(QEventLoop::AllEvents, 50);
    ASSERT_EQ(recorder.messages.size(), 1u) << searched.toStdString();
    EXPECT_TRUE(recorder.messages[0].text.startsWith("Can not open " + page)) << recorder.messages[0].text.toStdString();
  }
  qputenv("PATH", path);
}

TEST(FrameCommands, ReadyAndCommandPromptsStartAtTheSameColumn) {
  ProfileScope profile;
  AppWindow app;
  QStatusBar* bar = app.frame->statusBar();
  // The left edge of the status bar's darkest pixels: where its text starts.
  auto textStart = [bar] {
    const QImage picture = bar->grab().toImage();
    for (int x = 0; x < picture.width() / 2; ++x) {
      for (int y = 0; y < picture.height(); ++y) {
        if (qGray(picture.pixel(x, y)) < 96) return x;
      }
    }
    return -1;
  };
  ASSERT_EQ(app.frame->MessageText(), "Ready");
  const int ready = textStart();
  bar->showMessage("Enter new text");
  const int prompt = textStart();
  EXPECT_GE(ready, 0);
  EXPECT_EQ(ready, prompt);
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
