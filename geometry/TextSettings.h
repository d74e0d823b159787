// The settings every letter build starts from, with their defaults, their
// limits and the Shape dialog's choice tables. The desktop program, the
// command-line tool and the benchmarks all take these from here; nothing else
// holds a default or a limit of them.
#pragma once

#include <array>
#include <cstdint>

struct TextSettings {
  // Defaults.
  static constexpr int kDefaultColour = 255;  // COLORREF 0x00BBGGRR: red
  static constexpr double kDefaultHeight = 1.0;
  static constexpr double kDefaultDepth = 0.2;
  static constexpr int kDefaultLightFlags = 0;
  static constexpr int kDefaultBevelSteps = 0;
  static constexpr double kDefaultBevelSize = 1.0 / 30.0;

  // Limits. Below the smallest height the closeness rule of the outline
  // extraction would merge every point of a letter.
  static constexpr double kMinHeight = 0.001;
  static constexpr double kMaxHeight = 1.0e6;
  static constexpr double kMinDepth = 0.001;
  static constexpr double kMaxDepth = 100.0;

  int colour = kDefaultColour;
  double height = kDefaultHeight;      // model units per em
  double depth = kDefaultDepth;        // extrusion depth in model units
  int lightFlags = kDefaultLightFlags; // bit 0: light from the back, bit 1: from the left
  int bevelSteps = kDefaultBevelSteps; // 0, 1, 2, 3, or 7 for the round bevel
  double bevelSize = kDefaultBevelSize;

  static bool HeightInRange(double h) { return h >= kMinHeight && h <= kMaxHeight; }
  static bool DepthInRange(double d) { return d >= kMinDepth && d <= kMaxDepth; }
};

// The Shape dialog's choices, both ways: bevel shapes 0 to 4, bevel sizes 0
// to 2 and the four depth presets.
namespace ShapeChoices {
inline constexpr std::array<int, 5> kBevelStepsOfShape = {0, 1, 2, 3, 7};
inline constexpr std::array<double, 3> kBevelSizeOfChoice = {0.02, 0.04, 0.06};
inline constexpr std::array<double, 4> kPresetDepths = {0.06, 0.15, 0.4, 10.0};

// 0 to 3 for a depth equal to one of the presets, else -1.
int DepthPresetFor(double depth);
// 0 for a bevel size of 0.02, 2 for 0.06, 1 for anything else.
int SizeChoiceFor(double bevelSize);
// Steps 0 to 3 as they are, 7 is choice 4, anything else choice 1.
int ShapeChoiceFor(int bevelSteps);
// Bevel size of a size choice: 0.02, 0.04, 0.06 for 0 to 2, else 0.0.
double BevelSizeForChoice(int sizeChoice);
// Bevel steps of a shape choice: 7 for choice 4, else the choice itself.
int BevelStepsForChoice(int shapeChoice);
}  // namespace ShapeChoices
