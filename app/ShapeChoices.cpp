#include "ShapeChoices.h"

#include "ShapeDialog.h"

int DepthPresetFor(double depth) {
  for (int i = 0; i < 4; ++i) {
    if (depth == CShapeDialog::kPresetDepths[i]) return i;
  }
  return -1;
}

int SizeChoiceFor(double bevelSize) {
  if (bevelSize == 0.02) return 0;
  if (bevelSize == 0.06) return 2;
  return 1;
}

int ShapeChoiceFor(int bevelSteps) {
  if (bevelSteps >= 0 && bevelSteps <= 3) return bevelSteps;
  if (bevelSteps == 7) return 4;
  return 1;
}

double BevelSizeForChoice(int sizeChoice) {
  switch (sizeChoice) {
    case 0: return 0.02;
    case 1: return 0.04;
    case 2: return 0.06;
    default: return 0.0;
  }
}

int BevelStepsForChoice(int shapeChoice) { return shapeChoice == 4 ? 7 : shapeChoice; }
