// Shared pieces of the desktop program's tests: a main window on its own
// temporary profile, a way to act on the modal dialog a command opens, and
// a record of the messages the program shows.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include "DialogSupport.h"
#include "MainFrame.h"
#include "Profile.h"
#include "ZarnDoc.h"
#include "ZarnView.h"

// Every message the program would show, instead of a modal box.
struct ShownMessage {
  QString text;
  QString caption;
};

class MessageRecorder {
 public:
  MessageRecorder() {
    m_previous = SetMessagePresenter([this](QWidget*, const QString& text, const QString& caption,
                                            QMessageBox::Icon) { messages.push_back({text, caption}); });
  }
  ~MessageRecorder() { SetMessagePresenter(std::move(m_previous)); }
  std::vector<ShownMessage> messages;

 private:
  MessagePresenter m_previous;
};

// Runs `act` on the first modal dialog that opens (from a command that is
// about to call exec()). The check repeats from the event loop the dialog
// runs, so it sees the dialog as the user would.
inline void WhenModal(std::function<void(QWidget*)> act) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return;
    timer->stop();
    timer->deleteLater();
    act(modal);
  });
  timer->start();
}

// Picks `path` in an open or save dialog and confirms it, as typing the
// name and pressing Enter would. selectFile() alone leaves the name edit
// untouched while it has the focus, so the name is typed into it directly.
inline void ChooseFile(QFileDialog* dialog, const QString& path) {
  const QFileInfo info(path);
  dialog->setDirectory(info.absolutePath());
  if (auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
    edit->setText(info.fileName());
  } else {
    dialog->selectFile(path);
  }
  QMetaObject::invokeMethod(dialog, "accept");
}

// A profile file of its own for each test, named by GLYPHKILN_PROFILE.
class ProfileScope {
 public:
  ProfileScope() : m_path(m_dir.filePath(QStringLiteral("zarn.ini"))) {
    m_previous = qgetenv("GLYPHKILN_PROFILE");
    qputenv("GLYPHKILN_PROFILE", m_path.toLocal8Bit());
  }
  ~ProfileScope() { qputenv("GLYPHKILN_PROFILE", m_previous); }
  Profile Settings() const { return Profile(m_path.toStdString()); }
  const QString& Path() const { return m_path; }
  QString Dir() const { return m_dir.path(); }

 private:
  QTemporaryDir m_dir;
  QString m_path;
  QByteArray m_previous;
};

// A document and its main window, built like the program does, with the
// layout view a known size.
class AppWindow {
 public:
  explicit AppWindow(QSize layoutSize = QSize(600, 150)) {
    doc = std::make_unique<CZarnDoc>();
    frame = std::make_unique<CMainFrame>(doc.get());
    frame->show();
    frame->InitialUpdate();
    SetLayoutSize(layoutSize);
  }
  ~AppWindow() {
    frame.reset();
    doc.reset();
  }
  // Closes the window as the user would and destroys it, so that every
  // setting is written.
  void CloseAndDestroy() {
    frame->close();
    frame.reset();
    doc.reset();
  }
  void SetLayoutSize(QSize size) {
    View()->setMinimumSize(size);
    View()->setMaximumSize(size);
    frame->resize(size.width() + 40, size.height() * 4 + 150);
    QApplication::processEvents();
    View()->resize(size);
    QApplication::processEvents();
  }
  CZarnView* View() const { return frame->LayoutView(); }

  std::unique_ptr<CZarnDoc> doc;
  std::unique_ptr<CMainFrame> frame;
};
