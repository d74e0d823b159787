// "Light": where the light comes from, right or left and front or back.
#pragma once

#include "ZarnDialog.h"

class QButtonGroup;

class CLightDialog : public CZarnDialog {
  Q_OBJECT
 public:
  explicit CLightDialog(QWidget* parent = nullptr);

  void UpdateControls() override;
  bool UpdateFields() override;

  int side = -1;  // 0 "Right", 1 "Left", -1 neither
  int face = -1;  // 0 "Front", 1 "Back", -1 neither

 private:
  QButtonGroup* m_side;
  QButtonGroup* m_face;
};
