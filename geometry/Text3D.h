// The letters of one line of text: built from the font's outline stream,
// split into pieces, oriented and bridged, then bevelled and meshed. The
// layout view owns exactly one; it is replaced by every rebuild.
#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "BoundRect.h"
#include "GlyphOutline.h"
#include "Letter.h"
#include "TextSettings.h"

class CText3D {
 public:
  // Builds letters, pieces and contours from the outline extracted from the
  // same text; height is model units per em, depth the extrusion depth.
  CText3D(const std::string& text, const CGlyphOutline& outline, int colour, double height,
          double depth);

  // Takes ownership and widens the bounds by the letter's bounds.
  void AddLetter(CLetter letter);

  // Decides outer contours and holes by nesting and regroups every letter so
  // that each piece holds one outer contour followed by its holes.
  void FindContours();
  // Orients outer contours clockwise and holes counter-clockwise (y up) and
  // bridges the holes into one merged outline per piece.
  void CalculateContours();
  // Bit 0: light from the back, bit 1: light from the left.
  void SetLight(int flags);
  void SetColour(int colour);
  void SetDepth(double depth);
  // Multiplies every contour point (bevel contours included) and every
  // bounds by factor; depth, bevel size and light are left alone.
  void Scale(double factor);
  void SetBevel(int steps, double size);
  void BuildMeshes();

  // The n-th piece over the letters whose bounds are not degenerate, counting
  // every piece of such a letter; null when n is out of range.
  CLetterPiece* PieceAt(int n) const;

  // Visits the pieces PieceAt counts, in the same order, in one pass:
  // visit(letter, index of the piece within the letter, piece).
  template <class Visit>
  void ForEachPiece(Visit&& visit) const {
    for (const CLetter& letter : letters) {
      if (letter.bounds.IsDegenerate()) continue;
      for (std::size_t i = 0; i < letter.pieces.size(); ++i) {
        if (const CLetterPiece* piece = letter.pieces[i].get()) visit(letter, i, *piece);
      }
    }
  }
  template <class Visit>
  void ForEachPiece(Visit&& visit) {
    for (CLetter& letter : letters) {
      if (letter.bounds.IsDegenerate()) continue;
      for (std::size_t i = 0; i < letter.pieces.size(); ++i) {
        if (CLetterPiece* piece = letter.pieces[i].get()) visit(letter, i, *piece);
      }
    }
  }

  std::string text;
  std::vector<CLetter> letters;
  CBoundRect bounds;
  // The direction the light shines in: x, y, z.
  float lightDir[3] = {0.0f, 0.0f, 0.0f};
};

// The stages of one letter build, in the order they start; an observer
// hears each one as it begins (the desktop program shows them as status
// texts) and Finished once the letters are complete.
enum class BuildStage { Loading, FindingContours, CalculatingContours, Finished };

class BuildObserver {
 public:
  virtual ~BuildObserver() = default;
  virtual void StageStarted(BuildStage stage) = 0;
  // The work done so far: called after each letter of each pass over the
  // letters, done counting up to total (the same total for the whole build).
  virtual void LettersDone(std::size_t done, std::size_t total) {
    static_cast<void>(done);
    static_cast<void>(total);
  }
};

struct PieceAttributes;

// What a build needs besides the text, its outline stream and the settings.
struct BuildOptions {
  BuildObserver* observer = nullptr;
  // Per-piece colours and depths carried over from the letters of another
  // font (RecordPieceAttributes); applied before the bevels and meshes.
  const std::vector<PieceAttributes>* carryOver = nullptr;
  // Stop once the contours are nested, oriented and bridged and the light is
  // set: no bevels, no meshes (for dumping the geometry).
  bool contoursOnly = false;
  // Looked at between letters (by another thread if need be): once it is
  // set the build stops and returns no letters at all.
  const std::atomic<bool>* cancel = nullptr;
  // Stop once the letters are made from the outline stream and the light is
  // set; the caller then finishes each letter with FinishLetter, in any order
  // and on any thread (a long world written letter by letter as they are done).
  bool lettersOnly = false;
};

// The one letter build: construction from the outline stream, contour
// nesting, orientation and bridging, carry-over, light, bevel and meshes.
// Null only when options.cancel was set during the build.
std::unique_ptr<CText3D> BuildText3D(const std::string& text, const CGlyphOutline& outline,
                                     const TextSettings& settings,
                                     const BuildOptions& options = {});

// The rest of the build for one letter of a text built with lettersOnly:
// nesting, orientation and bridging, bevel and meshes, as BuildText3D runs
// them over the whole text. Letters are independent of each other, so
// different letters may be finished at the same time.
void FinishLetter(CLetter& letter, const TextSettings& settings);

// Per-piece (colour, depth) pairs recorded before a font change and applied
// by position to the letters built with the new font.
struct PieceAttributes {
  int colour;
  double depth;
};
std::vector<PieceAttributes> RecordPieceAttributes(const CText3D& text, int colourSetting,
                                                   double depthSetting);
void ApplyPieceAttributes(CText3D& text, const std::vector<PieceAttributes>& recorded);
