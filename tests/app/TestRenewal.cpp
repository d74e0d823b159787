// Renewing the document (Ctrl+N, Ctrl+O) and changing the font rebuild the
// letters: what the user chose for the whole text survives, per-piece
// choices survive a font change but not a renewal.
#include <QAction>

#include "AppTestSupport.h"
#include "CommandTable.h"
#include "Text3D.h"

TEST(Renewal, CtrlNKeepsTextFontAndColour) {
  ProfileScope profile;
  AppWindow app;
  CZarnView* view = app.View();
  view->SetText("Kiln");
  view->SetFont(DescriptionFor("DejaVu Sans", "Bold"));
  view->ApplyColour(0x00FF00);
  view->HandleKey(Qt::Key_Tab, 1, Qt::NoModifier);
  view->ApplyColour(0xFF0000);  // one piece blue
  const CText3D* before = view->CurrentText();
  const double widthBefore = before->bounds.right - before->bounds.left;

  EXPECT_TRUE(app.frame->Execute(kCmdFileNew));
  const CText3D* after = view->CurrentText();
  EXPECT_EQ(after->text, "Kiln");
  EXPECT_EQ(view->FontSetting().faceName, "DejaVu Sans");
  EXPECT_EQ(view->ColourSetting(), 0x00FF00u);
  EXPECT_NEAR(after->bounds.right - after->bounds.left, widthBefore, 1e-9) << "same font, same letters";
  for (int n = 0; const CLetterPiece* piece = after->PieceAt(n); ++n) EXPECT_EQ(piece->colour, 0x00FF00) << n;
  EXPECT_TRUE(view->Selection().empty());
}

TEST(Renewal, FontChangeCarriesPieceColoursAndDepthsOver) {
  ProfileScope profile;
  AppWindow app;
  CZarnView* view = app.View();
  view->SetText("ab");
  // Piece 1 is the "b": blue and deep.
  view->HandleKey(Qt::Key_Tab, 1, Qt::NoModifier);
  view->HandleKey(Qt::Key_Tab, 1, Qt::NoModifier);
  ASSERT_EQ(view->Selection(), std::vector<int>{1});
  view->ApplyColour(0xFF0000);
  view->ApplyShape(0.4, 1, 1, 0);

  view->SetFont(DescriptionFor("DejaVu Serif", "Book"));
  const CText3D* text = view->CurrentText();
  ASSERT_EQ(text->letters.size(), 2u);
  const CLetter& b = text->letters[1];
  ASSERT_FALSE(b.pieces.empty());
  for (const auto& piece : b.pieces) {
    EXPECT_EQ(piece->colour, 0xFF0000);
    EXPECT_DOUBLE_EQ(piece->depth, 0.4);
    // The solid is built with the carried depth, not the default one.
    EXPECT_NEAR(MinZ(*piece), -0.4f, 1e-5f);
  }
  for (const auto& piece : text->letters[0].pieces) {
    EXPECT_EQ(piece->colour, 0x0000FF);
    EXPECT_NEAR(MinZ(*piece), -0.2f, 1e-5f);
  }
}

TEST(Renewal, NewTextStartsEveryPieceFromTheSettings) {
  ProfileScope profile;
  AppWindow app;
  CZarnView* view = app.View();
  view->HandleKey(Qt::Key_Tab, 1, Qt::NoModifier);
  view->ApplyColour(0xFF0000);
  view->SetText("Glyphkilns");
  for (int n = 0; const CLetterPiece* piece = view->CurrentText()->PieceAt(n); ++n) EXPECT_EQ(piece->colour, 255);
  // The same text again is no change at all: the letters are not rebuilt.
  const CText3D* current = view->CurrentText();
  view->SetText("Glyphkilns");
  EXPECT_EQ(view->CurrentText(), current);
}
