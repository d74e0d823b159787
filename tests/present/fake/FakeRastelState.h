// What the stand-in renderer library records, read by the tests through the
// library's FakeRastelGetState.
#pragma once

#include "rastel.h"

constexpr int kFakeMaxLists = 64;

struct FakeFaceList {
  int faceCount;
  int vertexCount;
  int colour;
  int lit;
  int shadeLow;
  int shadeHigh;
  int textured;
  int polygons;
  int largestIndex;
};

struct FakeRastelState {
  int createCount;
  int destroyCount;
  int startCount;
  int endCount;
  int ditherCount;
  int background;
  float frontClip;
  float light[3];
  int lightOn;
  CameraFrame camera;
  int faceListCount;
  FakeFaceList lists[kFakeMaxLists];
};
