// Colouring: without a selection every piece and the colour new pieces get;
// with a selection only the selected pieces, the setting and its profile
// value left alone; and the colour each fixed-colour command gives.
#include <QColorDialog>

#include "AppTestSupport.h"
#include "CommandTable.h"
#include "Text3D.h"

namespace {

std::vector<int> PieceColours(const CZarnView* view) {
  std::vector<int> colours;
  const CText3D* text = view->CurrentText();
  for (int n = 0; const CLetterPiece* piece = text->PieceAt(n); ++n) colours.push_back(piece->colour);
  return colours;
}

int CountPixels(const QImage& image, QRgb colour) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) count += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
  }
  return count;
}

}  // namespace

TEST(Colours, WithoutSelectionEveryPieceAndTheSettingChange) {
  ProfileScope profile;
  {
    AppWindow app;
    EXPECT_EQ(app.View()->ColourSetting(), 255u);  // red unless the profile says otherwise
    EXPECT_GT(CountPixels(app.View()->Picture(), qRgb(255, 0, 0)), 100);
    app.View()->ApplyColour(0x00FF00);
    for (int colour : PieceColours(app.View())) EXPECT_EQ(colour, 0x00FF00);
    EXPECT_EQ(app.View()->ColourSetting(), 0x00FF00u);
    // The flat picture shows the new colour and none of the old.
    const QImage picture = app.View()->Picture();
    EXPECT_EQ(CountPixels(picture, qRgb(255, 0, 0)), 0);
    EXPECT_GT(CountPixels(picture, qRgb(0, 255, 0)), 100);
    app.CloseAndDestroy();
  }
  EXPECT_EQ(profile.Settings().GetInt("ZARN Parameters", "Color", -1), 0x00FF00);
}

TEST(Colours, WithSelectionOnlyTheSelectedPiecesChange) {
  ProfileScope profile;
  {
    AppWindow app;
    CZarnView* view = app.View();
    ASSERT_GE(view->PieceRects().size(), 4u);
    const int first = app.ClickPiece(0);
    const int third = app.ClickPiece(2, Qt::ControlModifier);
    ASSERT_EQ(view->Selection().size(), 2u);

    view->ApplyColour(0xFF0000);  // blue
    const std::vector<int> colours = PieceColours(view);
    for (int n = 0; n < static_cast<int>(colours.size()); ++n) {
      EXPECT_EQ(colours[n], (n == first || n == third) ? 0xFF0000 : 0x0000FF) << n;
    }
    EXPECT_EQ(view->ColourSetting(), 255u);
    EXPECT_EQ(view->Selection().size(), 2u) << "colouring keeps the selection";
    app.CloseAndDestroy();
  }
  EXPECT_EQ(profile.Settings().GetInt("ZARN Parameters", "Color", -1), 255);
}

TEST(Colours, ColourDialogStartsFromTheFirstSelectedPiece) {
  ProfileScope profile;
  AppWindow app;
  CZarnView* view = app.View();
  view->HandleKey(Qt::Key_Tab, 1, Qt::NoModifier);
  view->ApplyColour(0x00FFFF);  // the first piece yellow
  QColor offered;
  WhenModal([&offered](QWidget* dialog) {
    offered = static_cast<QColorDialog*>(dialog)->currentColor();
    static_cast<QDialog*>(dialog)->reject();
  });
  view->OnColourDialog();
  EXPECT_EQ(offered, QColor(255, 255, 0));
  // Without a selection the dialog offers the colour setting and its choice recolours all.
  view->Click(1, 1, Qt::NoModifier);
  WhenModal([&offered](QWidget* dialog) {
    auto* colours = static_cast<QColorDialog*>(dialog);
    offered = colours->currentColor();
    colours->setCurrentColor(QColor(0, 0, 255));
    colours->accept();
  });
  view->OnColourDialog();
  EXPECT_EQ(offered, QColor(255, 0, 0));
  EXPECT_EQ(view->ColourSetting(), 0xFF0000u);
}

TEST(Colours, StoredColourIsWhereNewLettersStart) {
  ProfileScope profile;
  profile.Settings().WriteInt("ZARN Parameters", "Color", 0xFF00FF);
  AppWindow app;
  EXPECT_EQ(app.View()->ColourSetting(), 0xFF00FFu);
  for (int colour : PieceColours(app.View())) EXPECT_EQ(colour, 0xFF00FF);
}

TEST(Colours, EachColourCommandGivesItsColour) {
  ProfileScope profile;
  AppWindow app;
  // Colours are 0xBBGGRR; red comes last so that it is not the starting colour.
  const std::pair<int, unsigned> commands[] = {
      {kCmdGreen, 0x00FF00},   {kCmdYellow, 0x00FFFF}, {kCmdBlue, 0xFF0000},  {kCmdMagenta, 0xFF00FF},
      {kCmdCyan, 0xFFFF00},    {kCmdWhite, 0xFFFFFF},  {kCmdBlack, 0x000000}, {kCmdRed, 0x0000FF}};
  for (const auto& [id, colour] : commands) {
    EXPECT_TRUE(app.frame->Execute(id)) << id;
    EXPECT_EQ(app.View()->ColourSetting(), colour) << id;
  }
}
