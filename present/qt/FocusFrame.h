// The frame a pane draws around itself while it has the keyboard, so that
// moving the keys between panes (F6, Tab) can be seen. Like a focus ring it
// shows when the keys came by the keyboard, not after a click into the pane,
// and it survives the window losing and regaining activation.
#pragma once

#include <QPainter>
#include <QPalette>
#include <QPen>
#include <QRect>

class FocusFrameState {
 public:
  void FocusIn(Qt::FocusReason reason) {
    switch (reason) {
      case Qt::TabFocusReason:
      case Qt::BacktabFocusReason:
      case Qt::ShortcutFocusReason: m_byKeyboard = true; break;
      case Qt::ActiveWindowFocusReason:
      case Qt::PopupFocusReason: break;
      default: m_byKeyboard = false; break;
    }
  }
  void FocusOut(Qt::FocusReason reason) {
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) m_byKeyboard = false;
  }
  bool Shown(bool hasFocus) const { return hasFocus && m_byKeyboard; }

 private:
  bool m_byKeyboard = false;
};

inline void DrawFocusFrame(QPainter& painter, const QRect& area, const QPalette& palette) {
  painter.save();
  QPen pen(palette.color(QPalette::Highlight), 2);
  pen.setJoinStyle(Qt::MiterJoin);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.drawRect(QRectF(area).adjusted(1, 1, -1, -1));
  painter.restore();
}
