// "Shape": the depth of the letters (typed or one of four presets), the shape
// of the bevel, its size, and whether the choice applies to the selected
// pieces or to all letters. The dialog passes the choice numbers through;
// what they mean in steps and sizes is the caller's business.
#pragma once

#include "ZarnDialog.h"

class QButtonGroup;
class QLineEdit;
class QRadioButton;

class CShapeDialog : public CZarnDialog {
  Q_OBJECT
 public:
  explicit CShapeDialog(QWidget* parent = nullptr);

  void UpdateControls() override;
  bool UpdateFields() override;

  double depth = 0.0;
  int applyTo = -1;      // 0 "Selected Objects", 1 "All Objects"
  int sizeChoice = -1;   // 0 to 2, small to large
  int shapeChoice = -1;  // 0 (straight side, no bevel) to 4
  int depthPreset = -1;  // 0 to 3 for "Small" to "XLong"

 protected:
  void OnInitDialog() override;

 private:
  void OnDepthPreset(int preset);
  void OnShapeClicked(int choice);
  void EnableSizeButtons(bool enable);

  QLineEdit* m_depthEdit;
  QButtonGroup* m_presets;
  QButtonGroup* m_shapes;
  QButtonGroup* m_sizes;
  QButtonGroup* m_applyTo;
  QRadioButton* m_selectedObjects;
};
