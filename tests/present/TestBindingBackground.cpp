// The background colour kept in the profile across runs, with or without a
// renderer library.
#include <fstream>

#include "PresentTestSupport.h"

namespace {

class BindingBackground : public ScratchDirTest {
 protected:
  int StoredBackground(int fallback = -1) const {
    return Profile(ProfilePath()).GetInt("3D View", "Background", fallback);
  }
};

TEST_F(BindingBackground, DefaultIsCyanWhenTheProfileHasNoneOrAMalformedOne) {
  {
    RendererBinding binding(Options({FakeRastelDir("complete")}));
    EXPECT_EQ(binding.Background(), 0xFFFF00u);
  }
  std::ofstream(ProfilePath()) << "[3D View]\nBackground=blue\n";
  RendererBinding binding(Options({FakeRastelDir("complete")}));
  EXPECT_EQ(binding.Background(), 0xFFFF00u);
}

TEST_F(BindingBackground, ReadAtStartAndWrittenBackAtTheEnd) {
  ASSERT_TRUE(Profile(ProfilePath()).WriteInt("3D View", "Background", 0x102030));
  {
    RendererBinding binding(Options({FakeRastelDir("complete")}));
    EXPECT_EQ(binding.Background(), 0x102030u);
    binding.SetBackground(0x00FF00);
  }
  EXPECT_EQ(StoredBackground(), 0x00FF00);
}

TEST_F(BindingBackground, WrittenBackWhenNoLibraryLoads) {
  {
    RendererBinding binding(Options({}));
    ASSERT_EQ(binding.View(), nullptr);
  }
  EXPECT_EQ(StoredBackground(), 0xFFFF00);
}

TEST_F(BindingBackground, RunWithoutLibraryKeepsTheUsersColour) {
  // A run without the renderer must not replace the chosen colour with the
  // default when it writes the setting back.
  ASSERT_TRUE(Profile(ProfilePath()).WriteInt("3D View", "Background", 0x0000FF));
  { RendererBinding binding(Options({})); }
  EXPECT_EQ(StoredBackground(), 0x0000FF);
  { RendererBinding binding(Options({FakeRastelDir("missing")})); }
  EXPECT_EQ(StoredBackground(), 0x0000FF);
}

TEST_F(BindingBackground, OtherSettingsInTheFileSurvive) {
  Profile profile(ProfilePath());
  ASSERT_TRUE(profile.WriteInt("ZARN Parameters", "Color", 128));
  ASSERT_TRUE(profile.WriteInt("3D View", "RotationSpeed", 1));
  { RendererBinding binding(Options({FakeRastelDir("complete")})); }
  EXPECT_EQ(profile.GetInt("ZARN Parameters", "Color", 0), 128);
  EXPECT_EQ(profile.GetInt("3D View", "RotationSpeed", 0), 1);
  EXPECT_EQ(StoredBackground(), 0xFFFF00);
}

TEST_F(BindingBackground, ToolOptionLeavesTheProfileAlone) {
  RendererBindingOptions options = Options({FakeRastelDir("complete")});
  options.keepSettings = false;
  ASSERT_TRUE(Profile(ProfilePath()).WriteInt("3D View", "Background", 0x0000FF));
  {
    RendererBinding binding(options);
    EXPECT_EQ(binding.Background(), 0xFFFF00u);  // not taken from the profile
    binding.SetBackground(0x123456);
  }
  EXPECT_EQ(StoredBackground(), 0x0000FF);
}

}  // namespace
