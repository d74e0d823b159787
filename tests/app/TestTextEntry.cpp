// A new text from the dialog: any characters, several lines, the letter
// bytes those of Windows-1252; built with the stages named in the status
// bar, the wait cursor gone afterwards; characters no face has named there.
#include <QAction>
#include <QPlainTextEdit>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QEnterEvent>
#include <QStatusBar>

#include <QTest>

#include <array>

#include "AppTestSupport.h"
#include "CommandTable.h"
#include "Text3D.h"

namespace {

// Types `text` into the text dialog that the Text command opens.
void EnterText(AppWindow& app, const QString& text) {
  WhenModal([text](QWidget* dialog) {
    dialog->findChild<QPlainTextEdit*>("1000")->setPlainText(text);
    static_cast<QDialog*>(dialog)->accept();
  });
  app.frame->Execute(kCmdText);
}

}  // namespace

TEST(TextEntry, TypedCharactersKeepTheirGlyphsAndCodePageBytes) {
  ProfileScope profile;
  AppWindow app;
  app.frame->Execute(kCmdFontFallback);  // off by default: the font's own glyphs only
  app.frame->Execute(kCmdFontFallback);
  EnterText(app, QString::fromUtf8("Caf\xC3\xA9 \xE2\x82\xAC\xCE\xA9"));  // "Café €Ω"
  EXPECT_EQ(app.View()->Characters(), U"Caf\u00E9 \u20AC\u03A9");
  // é is 0xE9, € is 0x80; Ω has no place in the code page: "?" among the bytes.
  EXPECT_EQ(app.View()->Text(), std::string("Caf\xE9 \x80?"));
  const CText3D& text = *app.View()->CurrentText();
  EXPECT_EQ(text.text, app.View()->Text());
  ASSERT_EQ(text.letters.size(), 7u);
  EXPECT_EQ(text.letters[3].code, -23);     // 0xE9 sign-extended
  EXPECT_EQ(text.letters[6].code, 0x3A9);   // a code point beyond the code page
  EXPECT_FALSE(text.letters[6].pieces.empty()) << "Omega has its own glyph, not the question mark's";
  EXPECT_EQ(app.frame->MessageText(), "Ready") << "no character is missing";

  // The same letters as the bytes give: the code-page characters are unchanged.
  AppWindow bytes;
  bytes.View()->SetText("Caf\xE9 \x80");
  const CText3D& fromBytes = *bytes.View()->CurrentText();
  for (std::size_t i = 0; i < fromBytes.letters.size(); ++i) {
    EXPECT_EQ(fromBytes.letters[i].code, text.letters[i].code);
    EXPECT_EQ(fromBytes.letters[i].pieces.size(), text.letters[i].pieces.size());
  }
}

TEST(TextEntry, DialogOpensWithTheTextSelectedSoTypingReplacesIt) {
  ProfileScope profile;
  AppWindow app;
  app.View()->SetText("old text");
  WhenModal([](QWidget* dialog) {
    auto* edit = dialog->findChild<QPlainTextEdit*>("1000");
    EXPECT_EQ(edit->textCursor().selectedText(), "old text");
    EXPECT_TRUE(edit->hasFocus());
    QTest::keyClicks(edit, "new");
    QTest::keyClick(edit, Qt::Key_Return);  // a new line, not OK
    QTest::keyClicks(edit, "line");
    EXPECT_TRUE(dialog->isVisible());
    QTest::keyClick(edit, Qt::Key_Return, Qt::ControlModifier);
  });
  app.frame->Execute(kCmdText);
  EXPECT_EQ(app.View()->Characters(), U"new\nline");
}

TEST(TextEntry, LinesStackDownwardAndTheAlignmentCommandsPlaceTheShorterOne) {
  ProfileScope profile;
  AppWindow app;
  app.View()->SetCharacters(U"WWWWWW\ni");
  // The letters' left and right ends, per line (letters 0-5 the first, 7 the second).
  auto ends = [&app](std::size_t first, std::size_t last) {
    const CText3D& text = *app.View()->CurrentText();
    double left = 1e9, right = -1e9, top = -1e9;
    for (std::size_t i = first; i <= last; ++i) {
      const CBoundRect& b = text.letters.at(i).bounds;
      left = std::min(left, b.left);
      right = std::max(right, b.right);
      top = std::max(top, b.top);
    }
    return std::array<double, 3>{left, right, top};
  };
  const auto wide = ends(0, 5);
  auto narrow = ends(7, 7);
  EXPECT_LT(narrow[2], wide[2] - 0.5) << "the second line lies below the first";
  EXPECT_LT(narrow[0] - wide[0], 0.2) << "left aligned";
  struct Case {
    int command;
    int wideEnd;  // 0: left, 1: centre, 2: right
  };
  for (const Case c : {Case{kCmdAlignRight, 2}, Case{kCmdAlignCentre, 1}, Case{kCmdAlignLeft, 0}}) {
    app.frame->Execute(c.command);
    narrow = ends(7, 7);
    const double middle = (narrow[0] + narrow[1]) / 2;
    if (c.wideEnd == 2) {
      EXPECT_GT(narrow[1], wide[1] - 0.2);
    }
    if (c.wideEnd == 1) {
      EXPECT_NEAR(middle, (wide[0] + wide[1]) / 2, 0.2);
    }
    if (c.wideEnd == 0) {
      EXPECT_LT(narrow[0] - wide[0], 0.2);
    }
    for (int id : {kCmdAlignLeft, kCmdAlignCentre, kCmdAlignRight}) {
      EXPECT_EQ(app.frame->Action(id)->isChecked(), id == c.command) << "one alignment checked";
    }
  }
}

TEST(TextEntry, KerningSetsPairsCloserAndIsAToggle) {
  ProfileScope profile;
  AppWindow app;
  app.View()->SetText("AV");
  const double plain = app.View()->CurrentText()->bounds.right - app.View()->CurrentText()->bounds.left;
  app.frame->Execute(kCmdKerning);
  EXPECT_TRUE(app.frame->Action(kCmdKerning)->isChecked());
  const double kerned = app.View()->CurrentText()->bounds.right - app.View()->CurrentText()->bounds.left;
  EXPECT_LT(kerned, plain);
  app.frame->Execute(kCmdKerning);
  EXPECT_FALSE(app.frame->Action(kCmdKerning)->isChecked());
  EXPECT_DOUBLE_EQ(app.View()->CurrentText()->bounds.right - app.View()->CurrentText()->bounds.left, plain);
}

TEST(TextEntry, MissingCharactersAreNamedInTheStatusBarUntilFallbackFillsThem) {
  ProfileScope profile;
  AppWindow app;
  app.View()->SetFont(DescriptionFor("Liberation Sans", "Regular"));
  // Armenian Ayb: Liberation Sans has none, DejaVu Sans has it.
  app.View()->SetCharacters(U"a\u0531");
  EXPECT_TRUE(app.frame->MessageText().contains("has no glyph for")) << app.frame->MessageText().toStdString();
  EXPECT_TRUE(app.frame->MessageText().contains("(U+0531)"));
  auto width = [&app] {
    const CBoundRect& b = app.View()->CurrentText()->letters.at(1).bounds;
    return b.right - b.left;
  };
  const double boxWidth = width();
  app.frame->Execute(kCmdFontFallback);
  EXPECT_EQ(app.frame->MessageText(), "Ready");
  EXPECT_NE(width(), boxWidth) << "the fallback's glyph, not the box";
  // A character no installed face has stays named, fallback or not.
  app.View()->SetCharacters(U"a\U0010FFFD");
  EXPECT_TRUE(app.frame->MessageText().contains("(U+10FFFD)"));
}

TEST(TextEntry, TextAndOptionsComeBackInTheNextRun) {
  ProfileScope profile;
  {
    AppWindow app;
    app.View()->SetCharacters(U"\u03A9\u03BB\u20AC \u0416\nzwei");
    app.frame->Execute(kCmdAlignCentre);
    app.frame->Execute(kCmdKerning);
    app.CloseAndDestroy();
  }
  AppWindow again;
  EXPECT_EQ(again.View()->Characters(), U"\u03A9\u03BB\u20AC \u0416\nzwei");
  EXPECT_EQ(again.View()->CurrentText()->letters.size(), 10u);
  EXPECT_TRUE(again.frame->Action(kCmdAlignCentre)->isChecked());
  EXPECT_TRUE(again.frame->Action(kCmdKerning)->isChecked());
  EXPECT_FALSE(again.frame->Action(kCmdFontFallback)->isChecked());
}

TEST(TextEntry, DialogShowsTheCurrentTextAndCancelChangesNothing) {
  ProfileScope profile;
  AppWindow app;
  app.View()->SetText("\xC4pfel");  // "Äpfel"
  QString shown;
  WhenModal([&shown](QWidget* dialog) {
    shown = dialog->findChild<QPlainTextEdit*>("1000")->toPlainText();
    dialog->findChild<QPlainTextEdit*>("1000")->setPlainText("other");
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
