// What the Shape dialog's choices mean for the letters: depth presets, bevel
// sizes and bevel shapes (given as the number of bevel steps), both ways.
#pragma once

// 0 to 3 for a depth equal to one of the presets (0.06, 0.15, 0.4, 10.0), else -1.
int DepthPresetFor(double depth);
// 0 for a bevel size of 0.02, 2 for 0.06, 1 for anything else.
int SizeChoiceFor(double bevelSize);
// The shape choice for a number of bevel steps: steps 0 to 3 as they are, 7
// is choice 4, anything else choice 1.
int ShapeChoiceFor(int bevelSteps);
// Bevel size of a size choice: 0.02, 0.04, 0.06 for 0 to 2, else 0.0.
double BevelSizeForChoice(int sizeChoice);
// Bevel steps of a shape choice: 7 for choice 4, else the choice itself.
int BevelStepsForChoice(int shapeChoice);
