// The examiner's message boxes and dialogs.
#pragma once

#include <QColor>
#include <QString>
#include <optional>

class QWidget;

// The examiner's message boxes and dialogs, behind one small interface so
// that tests can answer them without a user.
class ExaminerPrompts {
 public:
  virtual ~ExaminerPrompts() = default;
  // A message box with an OK button.
  virtual void Message(QWidget* parent, const QString& text, const QString& caption) = 0;
  // The Save GIF file name; empty when the user cancels.
  virtual QString AskGifPath(QWidget* parent) = 0;
  // The colour dialog opened on start; nothing when the user cancels.
  virtual std::optional<QColor> AskColour(QWidget* parent, const QColor& start) = 0;
  // The examiner options dialog on the two values; false when cancelled.
  virtual bool EditOptions(QWidget* parent, int& autoRotate, int& rotationSpeed) = 0;
};

// The real dialogs and message boxes.
class DialogPrompts : public ExaminerPrompts {
 public:
  void Message(QWidget* parent, const QString& text, const QString& caption) override;
  QString AskGifPath(QWidget* parent) override;
  std::optional<QColor> AskColour(QWidget* parent, const QColor& start) override;
  bool EditOptions(QWidget* parent, int& autoRotate, int& rotationSpeed) override;
};
