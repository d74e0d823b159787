#include "PieceSelection.h"

#include <algorithm>

bool PieceSelection::SetRects(std::vector<PieceRect> rects) {
  m_rects = std::move(rects);
  const bool had = !m_selected.empty();
  m_selected.clear();
  return had;
}

void PieceSelection::Clear() {
  m_rects.clear();
  m_selected.clear();
}

int PieceSelection::HitTest(int x, int y) const {
  for (int n = static_cast<int>(m_rects.size()) - 1; n >= 0; --n) {
    if (m_rects[static_cast<std::size_t>(n)].Contains(x, y)) return n;
  }
  return -1;
}

bool PieceSelection::Set(std::vector<int> selected) {
  if (selected == m_selected) return false;
  m_selected = std::move(selected);
  return true;
}

bool PieceSelection::Click(int x, int y, bool addOrRemove) {
  const int hit = HitTest(x, y);
  if (!addOrRemove) return Set(hit >= 0 ? std::vector<int>{hit} : std::vector<int>{});
  if (hit < 0) return false;
  std::vector<int> selected = m_selected;
  const auto found = std::find(selected.begin(), selected.end(), hit);
  if (found != selected.end()) {
    selected.erase(found);
  } else {
    selected.push_back(hit);
  }
  return Set(std::move(selected));
}

bool PieceSelection::Cycle() {
  if (m_rects.empty()) return false;
  const int last = static_cast<int>(m_rects.size()) - 1;
  if (m_selected.size() == 1) {
    const int current = m_selected.front();
    return Set(current < last ? std::vector<int>{current + 1} : std::vector<int>{});
  }
  return Set({0});
}
