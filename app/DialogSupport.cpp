// Dialog units, number exchange and message boxes for the program's dialogs.
#include "DialogSupport.h"

#include <charconv>
#include <cmath>
#include <string>

#include <QApplication>
#include <QFontMetrics>
#include <QLineEdit>

#include "ZarnApp.h"

namespace {

MessagePresenter& Presenter() {
  static MessagePresenter presenter;
  return presenter;
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font) {
  const QFontMetrics metrics(font);
  // The average width over the alphabet, rounded, as the dialog layout was drawn with.
  const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  m_baseX = (metrics.horizontalAdvance(alphabet) / 26 + 1) / 2;
  m_baseY = metrics.height();
  if (m_baseX < 1) m_baseX = 6;
  if (m_baseY < 1) m_baseY = 13;
}

int DialogUnits::X(int units) const { return (units * m_baseX + 2) / 4; }
int DialogUnits::Y(int units) const { return (units * m_baseY + 4) / 8; }

QRect DialogUnits::Rect(int x, int y, int width, int height) const {
  return QRect(X(x), Y(y), X(width), Y(height));
}

QSize DialogUnits::Size(int width, int height) const { return QSize(X(width), Y(height)); }

std::optional<double> ParseDialogNumber(const QString& text) {
  // Always with a decimal point, whatever the user's locale, so that what
  // FormatDialogNumber writes reads back the same.
  const std::string bytes = text.toStdString();
  const char* begin = bytes.data();
  const char* last = bytes.data() + bytes.size();
  while (begin < last && (*begin == ' ' || *begin == '\t')) ++begin;
  while (last > begin && (last[-1] == ' ' || last[-1] == '\t')) --last;
  if (begin < last && *begin == '+') {
    ++begin;
    if (begin < last && *begin == '-') return std::nullopt;
  }
  if (begin == last) return std::nullopt;
  double value = 0.0;
  const auto [end, error] = std::from_chars(begin, last, value, std::chars_format::general);
  if (error != std::errc() || end != last || !std::isfinite(value)) return std::nullopt;
  return value;
}

QString FormatDialogNumber(double value) { return QString::number(value, 'g', 15); }

std::optional<double> ExchangeNumber(QLineEdit* edit, double min, double max) {
  const std::optional<double> value = ParseDialogNumber(edit->text());
  QString problem;
  if (!value) {
    problem = QStringLiteral("Please enter a number.");
  } else if (*value < min || *value > max) {
    problem = QStringLiteral("Please enter a number between %1 and %2.")
                  .arg(FormatDialogNumber(min), FormatDialogNumber(max));
  }
  if (problem.isEmpty()) return value;
  ShowAppMessage(edit->window(), problem, QMessageBox::Warning);
  edit->setFocus(Qt::OtherFocusReason);
  edit->selectAll();
  return std::nullopt;
}

void ShowMessage(QWidget* parent, const QString& text, const QString& caption, QMessageBox::Icon icon) {
  if (Presenter()) {
    Presenter()(parent, text, caption, icon);
    return;
  }
  QMessageBox box(icon, caption, text, QMessageBox::Ok, parent);
  box.exec();
}

void ShowAppMessage(QWidget* parent, const QString& text, QMessageBox::Icon icon) {
  ShowMessage(parent, text, QString::fromLatin1(CZarnApp::kAppName), icon);
}

MessagePresenter SetMessagePresenter(MessagePresenter presenter) {
  MessagePresenter previous = std::move(Presenter());
  Presenter() = std::move(presenter);
  return previous;
}
