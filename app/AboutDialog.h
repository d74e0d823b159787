// "About": the program icon, its name and version and who made it.
#pragma once

#include "ZarnDialog.h"

class CAboutDialog : public CZarnDialog {
  Q_OBJECT
 public:
  explicit CAboutDialog(QWidget* parent = nullptr);

  void UpdateControls() override {}
  bool UpdateFields() override { return true; }
};
