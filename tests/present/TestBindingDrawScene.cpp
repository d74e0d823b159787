// What one frame asks of the renderer library: camera, light, clip plane,
// background and one face list per piece, in the library's colour format.
#include "PresentTestSupport.h"

namespace {

class BindingDrawScene : public ScratchDirTest {};

// The pieces that have a mesh, in piece order; a piece left without
// contours has nothing to draw.
std::vector<const CLetterPiece*> DrawablePieces(const CText3D& text) {
  std::vector<const CLetterPiece*> pieces;
  for (int n = 0; text.PieceAt(n); ++n) {
    if (text.PieceAt(n)->faceCount > 0) pieces.push_back(text.PieceAt(n));
  }
  return pieces;
}

TEST_F(BindingDrawScene, EveryPieceGoesOutAsOneLitFaceList) {
  FakeRastelProbe fake(FakeRastelDir("complete") / "libRastel16.so");
  RendererBinding binding(Options({FakeRastelDir("complete")}));
  auto letters = BuildLetters("Glyph i%");
  binding.SetViewSize(640, 480);
  binding.FitCamera(letters.get());
  binding.DrawScene(letters.get());

  const auto pieces = DrawablePieces(*letters);
  ASSERT_GT(pieces.size(), 6u);  // "i" and "%" bring several pieces each
  ASSERT_EQ(fake->faceListCount, static_cast<int>(pieces.size()));
  for (std::size_t n = 0; n < pieces.size(); ++n) {
    const CLetterPiece* piece = pieces[n];
    const FakeFaceList& list = fake->lists[n];
    EXPECT_EQ(list.faceCount, piece->faceCount) << n;
    EXPECT_EQ(list.vertexCount, static_cast<int>(piece->vertices.size())) << n;
    // Front, back and side polygons joined into one list.
    EXPECT_EQ(list.polygons, piece->faceCount) << n;
    EXPECT_LT(list.largestIndex, list.vertexCount) << n;
    EXPECT_EQ(list.colour, 0x9904) << n;  // red 255 -> 159, others 32, as 5-6-5
    EXPECT_EQ(list.lit, 1);
    EXPECT_EQ(list.shadeLow, -16);
    EXPECT_EQ(list.shadeHigh, 16);
    EXPECT_FALSE(list.textured);
  }
  EXPECT_EQ(fake->background, 0x07FF);  // cyan
  EXPECT_FLOAT_EQ(fake->frontClip, 0.1f);
  EXPECT_EQ(fake->lightOn, 1);
  for (int i = 0; i < 3; ++i) EXPECT_FLOAT_EQ(fake->light[i], binding.Light()[i]);
  EXPECT_TRUE(SameCamera(fake->camera, binding.ViewCamera().Frame()));
  EXPECT_EQ(fake->endCount, fake->startCount);
}

TEST_F(BindingDrawScene, EachPieceKeepsItsOwnColour) {
  FakeRastelProbe fake(FakeRastelDir("complete") / "libRastel16.so");
  RendererBinding binding(Options({FakeRastelDir("complete")}));
  auto letters = BuildLetters("ab");
  letters->PieceAt(1)->SetColour(0xFF0000);  // blue
  binding.SetViewSize(64, 64);
  binding.FitCamera(letters.get());
  binding.DrawScene(letters.get());
  ASSERT_EQ(fake->faceListCount, 2);
  EXPECT_EQ(fake->lists[0].colour, 0x9904);
  EXPECT_EQ(fake->lists[1].colour, PixelFormat565(0x9F2020));
}

TEST_F(BindingDrawScene, TextOfSpacesDrawsBackgroundOnly) {
  FakeRastelProbe fake(FakeRastelDir("complete") / "libRastel16.so");
  RendererBinding binding(Options({FakeRastelDir("complete")}));
  binding.SetBackground(0x0000FF);
  auto spaces = BuildLetters("   ");
  binding.SetViewSize(64, 48);
  binding.FitCamera(spaces.get());
  const int frames = fake->startCount;
  binding.DrawScene(spaces.get());
  EXPECT_EQ(fake->startCount, frames + 1);
  EXPECT_EQ(fake->faceListCount, 0);
  const unsigned short* frame = binding.Frame16();
  ASSERT_NE(frame, nullptr);
  for (int i = 0; i < 64 * 48; ++i) ASSERT_EQ(frame[i], 0xF800) << i;
}

TEST_F(BindingDrawScene, PiecesWithoutMeshesAreSkipped) {
  FakeRastelProbe fake(FakeRastelDir("complete") / "libRastel16.so");
  RendererBinding binding(Options({FakeRastelDir("complete")}));
  auto flat = BuildLetters("ab", false);
  ASSERT_NE(flat, nullptr);
  binding.SetViewSize(64, 48);
  binding.FitCamera(flat.get());
  binding.DrawScene(flat.get());
  EXPECT_EQ(fake->faceListCount, 0);
}

TEST_F(BindingDrawScene, EightBitLibraryGetsPaletteIndices) {
  FakeRastelProbe fake(FakeRastelDir("eightbit") / "libRastel8.so");
  RendererBinding binding(Options({FakeRastelDir("eightbit")}));
  ASSERT_EQ(binding.BitsPerPixel(), 8);
  auto letters = BuildLetters("a");
  binding.SetViewSize(64, 48);
  binding.FitCamera(letters.get());
  binding.DrawScene(letters.get());
  EXPECT_EQ(fake->background, NearestColourIndex(0xFFFF00));
  ASSERT_EQ(fake->faceListCount, 1);
  EXPECT_EQ(fake->lists[0].colour, NearestColourIndex(0x20209F));
  // Its frame is already indices: handed out as they are, never dithered.
  const std::uint8_t* indices = binding.Frame8();
  ASSERT_NE(indices, nullptr);
  EXPECT_EQ(indices[1], NearestColourIndex(0xFFFF00));
  EXPECT_EQ(binding.Frame16(), nullptr);
}

}  // namespace
