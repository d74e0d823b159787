// Building the letters from the outline stream: splines flattened with a
// step count from their chord, points closer than a threshold dropped,
// everything scaled from font units to model units.
#include "Text3D.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <utility>

namespace {

// Font units per spline step: a chord of d units gets d / 50 + 1 steps.
constexpr std::int64_t kFontUnitsPerStep = 50;
// Chord differences beyond any real glyph are clamped so that a corrupt
// stream cannot ask for millions of steps.
constexpr double kMaxChordDifference = 262144.0;

std::int64_t TruncatedDistance(double a, double b) {
  const double d = std::clamp(std::trunc(a - b), -kMaxChordDifference, kMaxChordDifference);
  return std::llabs(static_cast<std::int64_t>(d));
}

class LetterBuilder {
 public:
  LetterBuilder(CText3D& target, const CGlyphOutline& outline, int colour, double height,
                double depth)
      : m_target(target),
        m_items(outline.items),
        m_codes(outline.codes),
        m_colour(colour),
        m_depth(depth),
        m_scale(height > 0.0 ? height * 0.001 : 1.0),
        m_gap(height * 0.005) {
    StartLetter();
  }

  void Run() {
    for (std::size_t k = 0; k < m_items.size(); ++k) {
      const COutlineItem& item = m_items[k];
      switch (item.kind) {
        case kContourStart: StartContour(item); break;
        case kLinePoint:
        case kSplineOnCurve: Keep(item.x * m_scale, item.y * m_scale); break;
        case kSplineControl:
        case kSplineControlAlt: FlattenSpline(k); break;
        case kContourEnd: EndContour(); break;
        case kCharacterEnd: EndLetter(); break;
        default: break;  // unknown kinds carry nothing
      }
    }
  }

 private:
  void StartLetter() {
    m_letter = CLetter{};
    m_piece = std::make_unique<CLetterPiece>(m_colour, m_depth);
    m_contour.reset();
  }

  void StartContour(const COutlineItem& item) {
    // A contour still open here never got its end item; it is dropped.
    m_contour = std::make_unique<CContour>();
    m_first = m_last = CPoint2D{item.x * m_scale, item.y * m_scale};
    m_contour->Add(m_first);
  }

  // Keeps a point only when it lies strictly farther than the gap from the
  // last kept point (Manhattan distance), which removes the dense clusters
  // that short splines and tiny segments would leave.
  void Keep(double x, double y) {
    if (!m_contour) return;  // a point outside any contour
    if (m_gap < std::fabs(x - m_last.x) + std::fabs(y - m_last.y)) {
      m_last = CPoint2D{x, y};
      m_contour->Add(m_last);
    }
  }

  // A quadratic Bezier from the item before the control point to the item
  // after it, cut into a number of equal parameter steps that grows with
  // the chord. The end point is the next item and is kept by its own kind.
  void FlattenSpline(std::size_t k) {
    if (!m_contour || k == 0 || k + 1 >= m_items.size()) return;
    const COutlineItem& a = m_items[k - 1];
    const COutlineItem& q = m_items[k];
    const COutlineItem& b = m_items[k + 1];
    const std::int64_t chord = TruncatedDistance(a.y, b.y) + TruncatedDistance(a.x, b.x);
    const std::int64_t steps = chord / kFontUnitsPerStep + 1;
    for (std::int64_t i = 1; i < steps; ++i) {
      const double t = static_cast<double>(i) / static_cast<double>(steps);
      const double x = a.x + t * (t * (b.x - q.x) + (2.0 - t) * (q.x - a.x));
      const double y = a.y + t * (t * (b.y - q.y) + (2.0 - t) * (q.y - a.y));
      Keep(x * m_scale, y * m_scale);
    }
  }

  void EndContour() {
    if (!m_contour) return;
    // Outlines often repeat their start point at the end; the closing edge
    // is implied, so the duplicate goes.
    if (!m_contour->Empty() && m_contour->points.back() == m_first) m_contour->points.pop_back();
    m_piece->AddContour(std::move(m_contour));
  }

  void EndLetter() {
    // The stream has one character end per byte of the text; a stream with
    // more ends than the text has bytes gives code 0 to the extra letters.
    const std::string& text = m_target.text;
    m_letter.code = m_charIndex < text.size() ? static_cast<signed char>(text[m_charIndex]) : 0;
    if (m_charIndex < m_codes.size()) m_letter.code = m_codes[m_charIndex];
    m_letter.AddPiece(std::move(m_piece));
    m_target.AddLetter(std::move(m_letter));
    ++m_charIndex;
    StartLetter();
  }

  CText3D& m_target;
  const std::vector<COutlineItem>& m_items;
  const std::vector<int>& m_codes;  // letter codes from the stream, when it has them
  int m_colour;
  double m_depth;
  double m_scale;  // model units per font unit
  double m_gap;    // closeness threshold in model units (5 font units)
  CLetter m_letter;
  std::unique_ptr<CLetterPiece> m_piece;
  std::unique_ptr<CContour> m_contour;
  CPoint2D m_first;  // the contour's start point
  CPoint2D m_last;   // the last point kept in the contour
  std::size_t m_charIndex = 0;
};

}  // namespace

CText3D::CText3D(const std::string& text, const CGlyphOutline& outline, int colour, double height,
                 double depth)
    : text(text) {
  SetLight(0);
  // Nothing but points on the base line (a text of spaces): no letters.
  if (outline.bounds.top - outline.bounds.bottom == 0.0) return;
  LetterBuilder builder(*this, outline, colour, height, depth);
  builder.Run();
}

std::unique_ptr<CText3D> BuildText3D(const std::string& text, const CGlyphOutline& outline,
                                     const TextSettings& settings, const BuildOptions& options) {
  auto stage = [&options](BuildStage s) {
    if (options.observer) options.observer->StageStarted(s);
  };
  auto cancelled = [&options] {
    return options.cancel && options.cancel->load(std::memory_order_relaxed);
  };
  stage(BuildStage::Loading);
  auto letters =
      std::make_unique<CText3D>(text, outline, settings.colour, settings.height, settings.depth);
  if (options.lettersOnly) {
    letters->SetLight(settings.lightFlags);
    stage(BuildStage::Finished);
    return letters;
  }
  // Each stage below is one pass over the letters, letter by letter, so that
  // progress can be told and a cancel heard between any two letters.
  const std::size_t count = letters->letters.size();
  const std::size_t passes = options.contoursOnly ? 2 : 4;
  std::size_t done = 0;
  auto pass = [&](auto&& work) {
    for (CLetter& letter : letters->letters) {
      if (cancelled()) return false;
      work(letter);
      if (options.observer) options.observer->LettersDone(++done, count * passes);
    }
    return !cancelled();
  };
  stage(BuildStage::FindingContours);
  if (!pass([](CLetter& letter) { letter.FindContours(); })) return nullptr;
  stage(BuildStage::CalculatingContours);
  if (!pass([](CLetter& letter) { letter.CalculateContours(); })) return nullptr;
  // Carried-over depths go in before the bevels and meshes are built, so
  // that every solid already has the depth its piece shows.
  if (options.carryOver && !options.carryOver->empty()) {
    ApplyPieceAttributes(*letters, *options.carryOver);
  }
  letters->SetLight(settings.lightFlags);
  if (!options.contoursOnly) {
    if (!pass([&settings](CLetter& letter) { letter.SetBevel(settings.bevelSteps, settings.bevelSize); })) {
      return nullptr;
    }
    if (!pass([](CLetter& letter) { letter.BuildMeshes(); })) return nullptr;
  }
  stage(BuildStage::Finished);
  return letters;
}

void FinishLetter(CLetter& letter, const TextSettings& settings) {
  letter.FindContours();
  letter.CalculateContours();
  letter.SetBevel(settings.bevelSteps, settings.bevelSize);
  letter.BuildMeshes();
}
