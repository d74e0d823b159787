#include "ZarnApp.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWindow>

#include "MainFrame.h"
#include "ZarnDoc.h"

namespace {

// Gives the window system a moment (a few seconds at most) to put the window
// on the screen, so that what the first update shows, a message box centred
// on the window among it, finds the window where the user sees it. A close
// request may already be answered here: then the window is gone and the
// wait ends.
void WaitUntilShown(QWidget* window) {
  const QWindow* handle = window->windowHandle();
  QElapsedTimer waited;
  waited.start();
  while (handle && !handle->isExposed() && window->isVisible() && waited.elapsed() < 3000) {
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  }
}

}  // namespace

// The icons live in the program library; naming them here makes sure the
// linker keeps them.
void InitZarnResources() { Q_INIT_RESOURCE(zarn); }

CZarnApp::CZarnApp() {
  InitZarnResources();
  QApplication::setApplicationName(QString::fromLatin1(kAppName));
  QApplication::setApplicationVersion(QStringLiteral("2.0"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/zarn.png")));
}

CZarnApp::~CZarnApp() {
  m_frame.reset();
  m_doc.reset();
}

bool CZarnApp::InitInstance(const QStringList& arguments) {
  m_doc = std::make_unique<CZarnDoc>();
  m_frame = std::make_unique<CMainFrame>(m_doc.get());
  // The only command-line argument understood is a document to open.
  if (arguments.size() > 1 && !arguments.at(1).startsWith(QLatin1Char('-'))) {
    m_doc->OnOpenDocument(arguments.at(1));
  }
  m_frame->show();
  WaitUntilShown(m_frame.get());
  if (m_frame->isVisible()) m_frame->InitialUpdate();
  return true;
}

bool CZarnApp::ClosedDuringStartUp() const { return !m_frame || !m_frame->isVisible(); }
