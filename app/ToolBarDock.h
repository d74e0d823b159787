// The toolbar's dock edge as the settings keep it (a bar-state id) and as
// the window places it (a toolbar area).
#pragma once

#include <Qt>
#include <utility>

#include "AppSettings.h"

inline constexpr std::pair<int, Qt::ToolBarArea> kToolBarDocks[] = {
    {AppSettings::kDockTop, Qt::TopToolBarArea},
    {AppSettings::kDockLeft, Qt::LeftToolBarArea},
    {AppSettings::kDockRight, Qt::RightToolBarArea},
    {AppSettings::kDockBottom, Qt::BottomToolBarArea},
};

// An unknown id docks at the top.
inline Qt::ToolBarArea AreaForDockId(int id) {
  for (const auto& [dock, area] : kToolBarDocks)
    if (dock == id) return area;
  return Qt::TopToolBarArea;
}

// A floating or unknown area is kept as the top.
inline int DockIdForArea(Qt::ToolBarArea area) {
  for (const auto& [dock, where] : kToolBarDocks)
    if (where == area) return dock;
  return AppSettings::kDockTop;
}
