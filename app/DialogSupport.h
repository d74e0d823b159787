// Shared pieces of the program's dialogs: placing controls by dialog units,
// reading and writing numbers in edits the way every dialog does, and the
// message boxes with the program's caption.
#pragma once

#include <functional>
#include <optional>

#include <QFont>
#include <QMessageBox>
#include <QRect>
#include <QString>

class QLineEdit;
class QWidget;

// Dialog units scale with the dialog's font: a horizontal unit is a quarter
// of the font's average character width, a vertical unit an eighth of its
// height, so a layout drawn for one font keeps its proportions in another.
class DialogUnits {
 public:
  explicit DialogUnits(const QFont& font);
  int X(int units) const;
  int Y(int units) const;
  QRect Rect(int x, int y, int width, int height) const;
  QSize Size(int width, int height) const;

 private:
  int m_baseX;  // pixels per 4 horizontal units
  int m_baseY;  // pixels per 8 vertical units
};

// A number as an edit holds it: optional blanks, a decimal number, optional
// blanks. Anything else, the empty text included, is no number.
std::optional<double> ParseDialogNumber(const QString& text);
// The shortest exact-enough text for a number: 0.2 gives "0.2", 10.0 "10".
QString FormatDialogNumber(double value);

// Reads the number in `edit` and checks it against [min, max]. On failure
// tells the user ("Please enter a number." or "Please enter a number between
// min and max."), puts the focus back into the edit with its text selected
// and returns nothing, so the dialog stays open.
std::optional<double> ExchangeNumber(QLineEdit* edit, double min, double max);

// Every message the program shows goes through here. Tests replace the
// presenter to see the message instead of a modal box.
using MessagePresenter =
    std::function<void(QWidget* parent, const QString& text, const QString& caption, QMessageBox::Icon icon)>;
void ShowMessage(QWidget* parent, const QString& text, const QString& caption,
                 QMessageBox::Icon icon = QMessageBox::Warning);
// The program's caption, "Glyphkiln", used by every message but the file errors.
void ShowAppMessage(QWidget* parent, const QString& text, QMessageBox::Icon icon = QMessageBox::Warning);
// Replaces the presenter; returns the previous one. An empty function restores the message box.
MessagePresenter SetMessagePresenter(MessagePresenter presenter);
