// Shared pieces of the desktop program's tests: a main window on its own
// temporary profile, a way to act on the modal dialog a command opens, and
// a record of the messages the program shows.
#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QDir>
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
#include "Text3D.h"
#include "ZarnDoc.h"
#include "ZarnView.h"

// The deepest point of a piece's mesh: minus its extrusion depth.
inline float MinZ(const CLetterPiece& piece) {
  float z = 0.0f;
  for (const CVertex3F& v : piece.vertices) z = std::min(z, v.z);
  return z;
}

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

// Answers the next open or save dialog with `path`.
inline void ChooseFileWhenAsked(const QString& path) {
  WhenModal([path](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    ChooseFile(dialog, path);
  });
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
  // A file in the same scratch directory.
  QString File(const QString& name) const { return QDir(m_dir.path()).filePath(name); }

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
    // Every build is waited for, however loaded the machine, so that a
    // command's letters are there when it returns.
    View()->SetInPlaceWait(std::chrono::hours(1));
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
  // Clicks the middle of piece rectangle `n` with `modifiers`; returns the piece hit there.
  int ClickPiece(std::size_t n, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const {
    const PieceRect& r = View()->PieceRects().at(n);
    const int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
    const int hit = View()->HitTest(x, y);
    View()->Click(x, y, modifiers);
    return hit;
  }

  std::unique_ptr<CZarnDoc> doc;
  std::unique_ptr<CMainFrame> frame;
};
