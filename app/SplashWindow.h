// The start-up picture: a borderless window in the middle of the screen, on
// top of everything, showing the program's 256-colour splash bitmap for a
// moment while the main window is being made.
#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

class CSplashWindow : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kShowMilliseconds = 1500;
  static constexpr const char* kPicturePath = ":/splash/splash.bmp";

  // Loads the picture; a missing or unreadable one leaves the window empty.
  explicit CSplashWindow(const QString& picturePath = QString::fromLatin1(kPicturePath));

  // Shows a splash window centred on the primary screen for the given time,
  // then closes it. Start-up waits meanwhile, but the splash keeps painting.
  // Without the picture nothing is shown and the call returns at once.
  static void ShowFor(int milliseconds = kShowMilliseconds);

  bool HasPicture() const { return !m_picture.isNull(); }
  const QImage& Picture() const { return m_picture; }
  // Top-left corner that centres the picture on a screen of the given size.
  static QPoint CentredOrigin(const QSize& screen, const QSize& picture);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage m_picture;
};
