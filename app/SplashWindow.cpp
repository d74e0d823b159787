// The start-up splash window.
#include "SplashWindow.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>

// The picture is compiled into the program's static library, whose resources
// must be registered by hand before the first use.
static void InitSplashResources() {
  static const bool registered = [] {
    Q_INIT_RESOURCE(splash);
    return true;
  }();
  (void)registered;
}

CSplashWindow::CSplashWindow(const QString& picturePath)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setCursor(Qt::ArrowCursor);
  InitSplashResources();
  // The bitmap carries its own 256-entry colour table; Qt keeps it as the
  // image's colour table, so the picture shows in its own colours.
  m_picture.load(picturePath);
  if (!m_picture.isNull())
    setFixedSize(m_picture.size());
}

QPoint CSplashWindow::CentredOrigin(const QSize& screen, const QSize& picture) {
  return {(screen.width() - picture.width()) / 2, (screen.height() - picture.height()) / 2};
}

void CSplashWindow::ShowFor(int milliseconds) {
  CSplashWindow splash;
  if (!splash.HasPicture())
    return;
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->geometry();
    splash.move(area.topLeft() + CentredOrigin(area.size(), splash.m_picture.size()));
  }
  splash.show();
  splash.raise();
  splash.repaint();
  // Wait here, as start-up should, but let the splash answer exposes and
  // repaints while it is up.
  QEventLoop wait;
  QTimer::singleShot(milliseconds, &wait, &QEventLoop::quit);
  wait.exec(QEventLoop::ExcludeUserInputEvents);
  splash.close();
}

void CSplashWindow::paintEvent(QPaintEvent*) {
  if (m_picture.isNull())
    return;
  QPainter painter(this);
  painter.drawImage(QPoint(0, 0), m_picture);
}
