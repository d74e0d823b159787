// Contour nesting: which contours are outlines and which are holes, and the
// regrouping of a letter's contours into one piece per outline.
#include <memory>
#include <utility>
#include <vector>

#include "ContourPredicates.h"
#include "Letter.h"
#include "Text3D.h"

namespace {

// A node of the nesting tree; the root has index -1. Children are kept in
// the order they were placed, which decides the order of the pieces.
struct CContourNode {
  explicit CContourNode(int index) : index(index) {}
  int index;
  std::vector<std::unique_ptr<CContourNode>> children;
};

class NestingTree {
 public:
  explicit NestingTree(const std::vector<std::unique_ptr<CContour>>& contours)
      : m_contours(contours), m_root(-1) {
    for (std::size_t i = 0; i < contours.size(); ++i) Insert(static_cast<int>(i));
    PromoteIslands();
  }

  const CContourNode& Root() const { return m_root; }

 private:
  const CContour& At(int index) const { return *m_contours[index]; }

  // Walks down from the root into every contour that encloses contour i;
  // where i encloses existing children instead, it takes their place and
  // adopts them.
  void Insert(int i) {
    auto node = std::make_unique<CContourNode>(i);
    CContourNode* parent = &m_root;
    for (;;) {
      auto& siblings = parent->children;
      CContourNode* descendInto = nullptr;
      for (std::size_t s = 0; s < siblings.size(); ++s) {
        const int relation = Relation(At(i), At(siblings[s]->index));
        if (relation == kFirstInsideSecond) {
          descendInto = siblings[s].get();
          break;
        }
        if (relation == kSecondInsideFirst) {
          Adopt(*parent, s, std::move(node));
          return;
        }
      }
      if (!descendInto) {
        siblings.push_back(std::move(node));
        return;
      }
      parent = descendInto;
    }
  }

  // Node takes sibling s as its first child and its place in the parent's
  // list, then also takes every later sibling that it encloses.
  void Adopt(CContourNode& parent, std::size_t s, std::unique_ptr<CContourNode> node) {
    auto& siblings = parent.children;
    node->children.push_back(std::move(siblings[s]));
    CContourNode& adopter = *node;
    siblings[s] = std::move(node);
    for (std::size_t a = s + 1; a < siblings.size();) {
      if (Relation(At(adopter.index), At(siblings[a]->index)) == kSecondInsideFirst) {
        adopter.children.push_back(std::move(siblings[a]));
        siblings.erase(siblings.begin() + static_cast<std::ptrdiff_t>(a));
      } else {
        ++a;
      }
    }
  }

  // Depth 1 are outlines, depth 2 holes; whatever lies inside a hole (the
  // island of a ring, say) is an outline again and moves up to the root.
  // The walk also visits the nodes it appends, so deeper levels follow.
  void PromoteIslands() {
    auto& outers = m_root.children;
    for (std::size_t o = 0; o < outers.size(); ++o) {
      for (std::size_t h = 0; h < outers[o]->children.size(); ++h) {
        auto& islands = outers[o]->children[h]->children;
        for (auto& island : islands) outers.push_back(std::move(island));
        islands.clear();
      }
    }
  }

  const std::vector<std::unique_ptr<CContour>>& m_contours;
  CContourNode m_root;
};

}  // namespace

void CLetter::FindContours() {
  if (pieces.empty()) return;
  CLetterPiece* first = pieces.front().get();
  const std::size_t count = first->contours.size();
  if (count <= 1) return;

  const NestingTree tree(first->contours);
  const auto& outers = tree.Root().children;
  if (outers.size() < 2) {
    // One outline: only make sure it comes first.
    const int k = outers.empty() ? 0 : outers.front()->index;
    if (k > 0 && static_cast<std::size_t>(k) < count) std::swap(first->contours[0], first->contours[k]);
    return;
  }

  // Several outlines: one new piece each, with its holes; the first piece
  // is left empty but stays, since piece numbers count it.
  for (const auto& outer : outers) {
    auto piece = std::make_unique<CLetterPiece>(first->colour, first->depth);
    piece->AddContour(std::move(first->contours[outer->index]));
    for (const auto& hole : outer->children) {
      piece->AddContour(std::move(first->contours[hole->index]));
    }
    AddPiece(std::move(piece));
  }
  std::erase_if(first->contours, [](const std::unique_ptr<CContour>& c) { return !c; });
  first->RecomputeBounds();
}

void CText3D::FindContours() {
  for (CLetter& letter : letters) letter.FindContours();
}
