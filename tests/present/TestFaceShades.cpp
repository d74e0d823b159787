// The faces' 8-bit shades on the real renderer: drawn as shade values they
// cover exactly the pixels the lit letters cover, and each pixel's shade is
// the renderer's own lit colour to within its 5-6-5 rounding, for every bevel,
// light and turn.
#include "FaceShades.h"
#include "PresentTestSupport.h"

namespace {

class FaceShadesTest : public ScratchDirTest {
 protected:
  void SetUp() override {
    ScratchDirTest::SetUp();
    m_binding = std::make_unique<RendererBinding>(Options({GLYPHKILN_BIN_DIR}));
    ASSERT_NE(m_binding->View(), nullptr);
    m_binding->SetViewSize(320, 240);
  }

  // The lit frame and the frame of shade values, with the camera as it is.
  void DrawBoth(const CText3D& text, const FaceShades& shades, std::vector<unsigned short>& lit,
                std::vector<unsigned short>& named) {
    m_binding->SetBackground(0x000000);
    m_binding->DrawScene(&text);
    const std::size_t pixels = static_cast<std::size_t>(m_binding->Width() * m_binding->Height());
    lit.assign(m_binding->Frame16(), m_binding->Frame16() + pixels);
    m_binding->DrawFrame(FaceShades::kBackground, [&] {
      FaceTexMap texMap{};
      for (const FaceShades::Batch& batch : shades.Batches()) {
        FaceMaterial material{};
        material.colour = batch.shade;
        m_binding->EntryPoints().faceList(m_binding->View(), batch.faceCount,
                                          static_cast<int>(batch.vertices.size() / 3), batch.vertices.data(),
                                          batch.indices.data(), &texMap, &material);
      }
    });
    named.assign(m_binding->Frame16(), m_binding->Frame16() + pixels);
  }

  std::unique_ptr<RendererBinding> m_binding;
};

}  // namespace

TEST_F(FaceShadesTest, ShadesCoverTheLitLettersAndMatchTheirColours) {
  struct Case {
    int bevelSteps;
    int light;
    int colour;  // COLORREF
    float yaw, pitch;
  };
  for (const Case& c : {Case{0, 0, 0x0000FF, 0.0f, 0.0f}, Case{4, 1, 0xFF6030, 0.8f, 0.3f},
                        Case{32, 2, 0xC0C0C0, -0.6f, -0.4f}, Case{32, 3, 0x00FF00, 2.5f, 0.2f}}) {
    SCOPED_TRACE(testing::Message() << "steps " << c.bevelSteps << ", light " << c.light);
    auto letters = BuildLetters("Ob8&");
    ASSERT_NE(letters, nullptr);
    letters->SetColour(c.colour);
    letters->SetLight(c.light);
    letters->SetBevel(c.bevelSteps, 0.05);
    letters->BuildMeshes();
    m_binding->FitCamera(letters.get());
    m_binding->ViewCamera().Rotate(c.yaw, c.pitch);
    const FaceShades shades(*letters, m_binding->Light());
    ASSERT_TRUE(shades.Ready());

    // Every face of every piece is in exactly one batch, and each batch's
    // indices stay within its own vertices.
    int faces = 0, batched = 0;
    letters->ForEachPiece([&](const CLetter&, std::size_t, const CLetterPiece& piece) { faces += piece.faceCount; });
    for (const FaceShades::Batch& batch : shades.Batches()) {
      batched += batch.faceCount;
      ASSERT_LT(batch.shade, shades.Colours().size());
      for (int i : batch.indices) ASSERT_LT(i, static_cast<int>(batch.vertices.size() / 3));
      ASSERT_EQ(batch.indices.back(), -1);
    }
    EXPECT_EQ(batched, faces);

    std::vector<unsigned short> lit, named;
    DrawBoth(*letters, shades, lit, named);
    int covered = 0, apart = 0;
    for (std::size_t i = 0; i < lit.size(); ++i) {
      const bool letter = lit[i] != 0;  // lit letters never reach black
      ASSERT_EQ(named[i] != FaceShades::kBackground, letter) << "pixel " << i;
      if (!letter) continue;
      ++covered;
      const RgbColour shade = shades.Colours()[named[i]];
      const RgbColour own = Expand565(lit[i]);
      // Two 5-6-5 steps: the renderer also cuts the base colour to 5-6-5
      // before it scales it by up to 1.7.
      apart += std::abs(shade.red - own.red) > 16 || std::abs(shade.green - own.green) > 8 ||
               std::abs(shade.blue - own.blue) > 16;
    }
    EXPECT_GT(covered, 1000);
    EXPECT_EQ(apart, 0) << "pixels whose shade is not the renderer's colour";
  }
}
