#include "TextSettings.h"

namespace ShapeChoices {

int DepthPresetFor(double depth) {
  for (std::size_t i = 0; i < kPresetDepths.size(); ++i) {
    if (depth == kPresetDepths[i]) return static_cast<int>(i);
  }
  return -1;
}

int SizeChoiceFor(double bevelSize) {
  if (bevelSize == kBevelSizeOfChoice[0]) return 0;
  if (bevelSize == kBevelSizeOfChoice[2]) return 2;
  return 1;
}

int ShapeChoiceFor(int bevelSteps) {
  if (bevelSteps >= 0 && bevelSteps <= 3) return bevelSteps;
  if (bevelSteps == kBevelStepsOfShape[4]) return 4;
  return 1;
}

double BevelSizeForChoice(int sizeChoice) {
  if (sizeChoice < 0 || sizeChoice >= static_cast<int>(kBevelSizeOfChoice.size())) return 0.0;
  return kBevelSizeOfChoice[static_cast<std::size_t>(sizeChoice)];
}

int BevelStepsForChoice(int shapeChoice) {
  return shapeChoice == 4 ? kBevelStepsOfShape[4] : shapeChoice;
}

}  // namespace ShapeChoices
