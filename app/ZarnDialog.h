// Base of the program's own dialogs: a fixed-size modal dialog laid out in
// dialog units, with the controls' resource ids as object names, Escape and
// the close box cancelling, and the two directions of data exchange
// (fields to controls when shown, controls to fields on OK).
#pragma once

#include <QDialog>

#include "DialogSupport.h"

class QAbstractButton;
class QButtonGroup;
class QPushButton;

class CZarnDialog : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kIdOk = 1;
  static constexpr int kIdCancel = 2;

  CZarnDialog(const QString& title, int widthUnits, int heightUnits, QWidget* parent);

  // Writes the fields into the controls.
  virtual void UpdateControls() = 0;
  // Reads the controls into the fields; false (the user told why, the focus
  // on the offending control) when a value is not acceptable.
  virtual bool UpdateFields() = 0;

  // OK: takes the values only when all of them pass their checks.
  void accept() override;

 protected:
  void showEvent(QShowEvent* event) override;
  // Runs once, after the first exchange into the controls.
  virtual void OnInitDialog() {}

  // Places a child at dialog-unit coordinates and names it by its id
  // (0 leaves the name alone: labels and frames without an id).
  template <typename W>
  W* Place(W* widget, int id, int x, int y, int width, int height) {
    widget->setGeometry(m_units.Rect(x, y, width, height));
    if (id != 0) widget->setObjectName(QString::number(id));
    return widget;
  }
  QPushButton* AddButton(const QString& text, int id, int x, int y, int width, int height, bool isDefault);

  // Radio groups hold their buttons with ids 0, 1, ...; -1 means none is checked.
  static void SetRadio(QButtonGroup* group, int index);
  static int RadioIndex(const QButtonGroup* group);

 private:
  DialogUnits m_units;
  bool m_initialised = false;
};
