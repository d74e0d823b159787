// The application object: the program's name (the caption of its messages),
// the one document and the main window, created in that order and destroyed
// the other way round, so that the views write their settings while the
// document and its renderer are still there.
#pragma once

#include <memory>

#include <QStringList>

class CMainFrame;
class CZarnDoc;

// Registers the embedded icons; the application does it itself, tests that
// build windows without it call this.
void InitZarnResources();

class CZarnApp {
 public:
  // The name every message box carries.
  static constexpr const char* kAppName = "Glyphkiln";

  CZarnApp();
  ~CZarnApp();
  CZarnApp(const CZarnApp&) = delete;
  CZarnApp& operator=(const CZarnApp&) = delete;

  // Creates the document and the main window, takes a document file named
  // on the command line, builds the letters and shows the window. False
  // when the window could not be made.
  bool InitInstance(const QStringList& arguments);
  // The user closed the window while it was being set up (the close was
  // answered and the settings written); the event loop that would otherwise
  // quit on it has not started yet, so the program must end by itself.
  bool ClosedDuringStartUp() const;

  CMainFrame* MainFrame() const { return m_frame.get(); }

 private:
  std::unique_ptr<CZarnDoc> m_doc;     // declared first: outlives the frame
  std::unique_ptr<CMainFrame> m_frame;
};
