// The real program on a real X server: it opens its window with the letters
// in the upper pane, and closing the window the way a user does (the
// window manager's delete request) ends it cleanly with every setting
// written to the profile under its literal section names.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <memory>

#include "X11Session.h"

namespace {

const char* kTitle = "Stellwick Glyphkiln";

// Repeats `done` every 100 ms until it holds or `seconds` have passed.
bool WaitFor(const std::function<bool()>& done, int seconds) {
  for (int i = 0; i < seconds * 10; ++i) {
    if (done()) return true;
    QThread::msleep(100);
  }
  return done();
}

// An Xvfb server on a display number it picks itself (-displayfd), so that
// tests running side by side never share a server.
class VirtualDisplay {
 public:
  VirtualDisplay() {
    // -noreset: by default the server resets whenever its last client
    // leaves, and a program connecting just then is refused and aborts
    // (Qt ends a program that cannot reach its display with an abort).
    m_server.start(QStringLiteral("Xvfb"),
                   {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-noreset"});
    if (!m_server.waitForStarted(10000)) return;  // no Xvfb at all
    QByteArray number;
    WaitFor([&] {
      m_server.waitForReadyRead(100);
      number += m_server.readAllStandardOutput();
      return number.contains('\n') || m_server.state() != QProcess::Running;
    }, 30);
    bool ok = false;
    const int display = number.trimmed().toInt(&ok);
    if (!ok) return;
    const QString name = QStringLiteral(":%1").arg(display);
    if (WaitFor([&] { return X11Session(name.toStdString()).Connected(); }, 20)) m_name = name;
  }
  ~VirtualDisplay() {
    if (m_server.state() != QProcess::NotRunning) {
      m_server.terminate();
      if (!m_server.waitForFinished(5000)) m_server.kill();
      m_server.waitForFinished(5000);
    }
  }
  const QString& Name() const { return m_name; }

 private:
  QProcess m_server;
  QString m_name;
};

bool IsRed(std::uint32_t rgb) { return ((rgb >> 16) & 0xFF) > 220 && ((rgb >> 8) & 0xFF) < 40 && (rgb & 0xFF) < 40; }
bool IsOutlineGrey(std::uint32_t rgb) { return rgb == 0x808080; }
bool IsCyan(std::uint32_t rgb) { return rgb == 0x00FFFF; }
// The solid's faces are lit: darker and lighter reds, never pure.
bool IsShadedRed(std::uint32_t rgb) {
  const std::uint32_t r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
  return r > 60 && r > 2 * g && r > 2 * b;
}

}  // namespace

TEST(EndToEnd, ProgramShowsItsLettersAndWritesTheProfileWhenClosed) {
  const QString program = QStringLiteral(GLYPHKILN_BIN_DIR "/zarn");
  ASSERT_TRUE(QFileInfo(program).isExecutable()) << "build the zarn target first";
  VirtualDisplay display;
  ASSERT_FALSE(display.Name().isEmpty()) << "could not start Xvfb";
  QTemporaryDir home;
  const QString profilePath = QDir(home.path()).filePath("zarn.ini");

  QProcess zarn;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("DISPLAY", display.Name());
  environment.insert("QT_QPA_PLATFORM", "xcb");
  environment.insert("GLYPHKILN_PROFILE", profilePath);
  environment.insert("XDG_RUNTIME_DIR", home.path());
  zarn.setProcessEnvironment(environment);
  zarn.setWorkingDirectory(home.path());
  zarn.setProcessChannelMode(QProcess::ForwardedChannels);
  zarn.start(program, {});
  ASSERT_TRUE(zarn.waitForStarted(10000));

  // A loaded machine can take a moment before the server takes connections.
  std::unique_ptr<X11Session> connection;
  ASSERT_TRUE(WaitFor([&] {
    connection = std::make_unique<X11Session>(display.Name().toStdString());
    return connection->Connected();
  }, 20));
  X11Session& session = *connection;
  unsigned long window = 0;
  ASSERT_TRUE(WaitFor([&] { return (window = session.FindWindow(kTitle)) != 0; }, 60))
      << "no window titled \"" << kTitle << "\"";

  // The upper pane (a quarter of the client area, below menu and toolbar)
  // shows the default text as red letters with grey outlines.
  int width = 0, height = 0;
  ASSERT_TRUE(session.WindowSize(window, &width, &height));
  const int bandTop = height * 15 / 100;
  const int bandHeight = height * 13 / 100;
  long red = 0, grey = 0;
  WaitFor([&] {
    red = session.CountPixels(window, 0, bandTop, width, bandHeight, IsRed);
    grey = session.CountPixels(window, 0, bandTop, width, bandHeight, IsOutlineGrey);
    return red > 1000 && grey > 100;
  }, 20);
  EXPECT_GT(red, 1000) << "red letters in the layout pane";
  EXPECT_GT(grey, 100) << "grey outlines around them";

  // The lower three quarters: the examiner's shaded red solid on cyan.
  const int lowerTop = height * 40 / 100;
  const int lowerHeight = height * 45 / 100;
  long cyan = 0, shadedRed = 0;
  WaitFor([&] {
    cyan = session.CountPixels(window, 0, lowerTop, width, lowerHeight, IsCyan);
    shadedRed = session.CountPixels(window, 0, lowerTop, width, lowerHeight, IsShadedRed);
    return cyan > 20000 && shadedRed > 1000;
  }, 20);
  EXPECT_GT(cyan, 20000) << "cyan background of the examiner pane";
  EXPECT_GT(shadedRed, 1000) << "lit red letters in the examiner pane";

  ASSERT_TRUE(session.RequestClose(window));
  ASSERT_TRUE(zarn.waitForFinished(60000)) << "the program did not end after its window was closed";
  EXPECT_EQ(zarn.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(zarn.exitCode(), 0);

  QFile file(profilePath);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "no profile written";
  const QString text = QString::fromUtf8(file.readAll());
  for (const char* section : {"[ZARN Parameters]", "[3D View]", "[Layouts-Summary]", "[Layouts-Bar0]"}) {
    EXPECT_TRUE(text.contains(QLatin1String(section))) << section;
  }
  for (const char* key : {"Light=", "Color=", "Height=", "Depth=", "AutoRotate=", "RotationSpeed=", "Background="}) {
    EXPECT_TRUE(text.contains(QLatin1String(key))) << key;
  }
}
