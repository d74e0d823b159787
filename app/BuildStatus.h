// The letters' build stages as the status texts the user sees.
#pragma once

#include <functional>
#include <utility>

#include "Text3D.h"

// The build's stages as the status texts the user sees while a rebuild runs.
class StatusObserver : public BuildObserver {
 public:
  explicit StatusObserver(std::function<void(const char*)> show) : m_show(std::move(show)) {}
  void StageStarted(BuildStage stage) override {
    switch (stage) {
      case BuildStage::Loading: m_show("loading..."); break;
      case BuildStage::FindingContours: m_show("find contours..."); break;
      case BuildStage::CalculatingContours: m_show("contours calculating ..."); break;
      case BuildStage::Finished: m_show("Ready"); break;
    }
  }

 private:
  std::function<void(const char*)> m_show;
};
