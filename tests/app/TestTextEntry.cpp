// A new text from the dialog: converted to Windows-1252 letter bytes, built
// with the stages named in the status bar, the wait cursor gone afterwards.
#include <QLineEdit>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QEnterEvent>
#include <QStatusBar>

#include "AppTestSupport.h"
#include "CommandTable.h"
#include "Text3D.h"

namespace {

// Types `text` into the text dialog that the Text command opens.
void EnterText(AppWindow& app, const QString& text) {
  WhenModal([text](QWidget* dialog) {
    dialog->findChild<QLineEdit*>("1000")->setText(text);
    static_cast<QDialog*>(dialog)->accept();
  });
  app.frame->Execute(kCmdText);
}

}  // namespace

TEST(TextEntry, TypedTextBecomesWindows1252Bytes) {
  ProfileScope profile;
  AppWindow app;
  EnterText(app, QString::fromUtf8("Caf\xC3\xA9 \xE2\x82\xAC\xCE\xA9"));  // "Café €Ω"
  // é is 0xE9, € is 0x80, Ω has no place in the code page and becomes "?".
  EXPECT_EQ(app.View()->Text(), std::string("Caf\xE9 \x80?"));
  EXPECT_EQ(app.View()->CurrentText()->text, app.View()->Text());
  ASSERT_EQ(app.View()->CurrentText()->letters.size(), 7u);
  EXPECT_EQ(app.View()->CurrentText()->letters[3].code, -23);  // 0xE9 sign-extended
}

TEST(TextEntry, DialogShowsTheCurrentTextAndCancelChangesNothing) {
  ProfileScope profile;
  AppWindow app;
  app.View()->SetText("\xC4pfel");  // "Äpfel"
  QString shown;
  WhenModal([&shown](QWidget* dialog) {
    shown = dialog->findChild<QLineEdit*>("1000")->text();
    dialog->findChild<QLineEdit*>("1000")->setText("other");
    static_cast<QDialog*>(dialog)->reject();
  });
  app.frame->Execute(kCmdText);
  EXPECT_EQ(shown, QString::fromUtf8("\xC3\x84pfel"));
  EXPECT_EQ(app.View()->Text(), "\xC4pfel");
}

TEST(TextEntry, RebuildNamesItsStagesAndEndsReady) {
  ProfileScope profile;
  AppWindow app;
  QStringList shown;
  QObject::connect(app.frame->statusBar(), &QStatusBar::messageChanged,
                   [&shown](const QString& text) { shown << text; });
  app.View()->SetText("Stages");
  EXPECT_EQ(shown, (QStringList{"loading...", "find contours...", "contours calculating ...", ""}));
  EXPECT_EQ(app.frame->MessageText(), "Ready");
  EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the wait cursor is gone";
  // The initial build of a renewal names no stages.
  shown.clear();
  app.frame->Execute(kCmdFileNew);
  EXPECT_TRUE(shown.isEmpty());
}

TEST(TextEntry, HoveringACommandShowsItsStatusText) {
  ProfileScope profile;
  AppWindow app;
  EXPECT_EQ(app.frame->MessageText(), "Ready");
  // The mouse entering a toolbar button, as the window system reports it.
  auto enter = [&app](int id) {
    QWidget* button = app.frame->ToolBar()->widgetForAction(app.frame->Action(id));
    ASSERT_NE(button, nullptr);
    QEnterEvent event(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(button, &event);
  };
  enter(kCmdShape);
  EXPECT_EQ(app.frame->MessageText(), "Shape");
  enter(kCmdFont);
  EXPECT_EQ(app.frame->MessageText(), "Change font");
  // Leaving the item hands the pane back to "Ready".
  QStatusTipEvent leave{QString()};
  QApplication::sendEvent(app.frame.get(), &leave);
  EXPECT_EQ(app.frame->MessageText(), "Ready");
}
