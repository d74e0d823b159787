// The real dialogs and message boxes behind the examiner's prompts.
#include "DialogPrompts.h"

#include <QColorDialog>
#include <QFileDialog>

#include "DialogSupport.h"
#include "ExaminerOptionsDialog.h"

void DialogPrompts::Message(QWidget* parent, const QString& text, const QString& caption) {
  // Through the program's one message presenter, so that every box looks alike.
  ShowMessage(parent, text, caption);
}

QString DialogPrompts::AskGifPath(QWidget* parent) {
  QFileDialog dialog(parent);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter(QStringLiteral("GIF (*.gif)"));
  dialog.setDefaultSuffix(QStringLiteral("gif"));
  // Overwriting an existing file is confirmed by the dialog itself.
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return {};
  return dialog.selectedFiles().constFirst();
}

std::optional<QColor> DialogPrompts::AskColour(QWidget*, const QColor& start) {
  // Like the system colour dialog of old: no owner window.
  const QColor chosen = QColorDialog::getColor(start, nullptr);
  if (!chosen.isValid())
    return std::nullopt;
  return chosen;
}

bool DialogPrompts::EditOptions(QWidget* parent, int& autoRotate, int& rotationSpeed) {
  CExaminerOptionsDialog dialog(parent);
  dialog.autoRotate = autoRotate;
  dialog.speed = rotationSpeed;
  if (dialog.exec() != QDialog::Accepted)
    return false;
  autoRotate = dialog.autoRotate;
  rotationSpeed = dialog.speed;
  return true;
}
