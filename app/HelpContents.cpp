// Help Contents: the README found beside the program or in the source tree,
// turned from Markdown into a page the desktop's browser shows.
#include "HelpContents.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QTextDocument>
#include <QUrl>

#include "DialogSupport.h"
#include "QtEdge.h"
#include "SaveFile.h"

namespace {

// Opens the page with the desktop's opener and tells the user when it cannot
// be started or ends in failure (no browser for the page, for instance).
void OpenInBrowser(QWidget* parent, const QUrl& url) {
  auto* process = new QProcess(parent);
  const QString shown = url.toLocalFile();
  const QPointer<QWidget> owner(parent);
  auto tell = [owner, shown](const QString& why) {
    ShowAppMessage(owner, QStringLiteral("Can not open %1 in a browser: %2").arg(shown, why));
  };
  QObject::connect(process, &QProcess::errorOccurred, process, [process, tell](QProcess::ProcessError error) {
    if (error != QProcess::FailedToStart) return;
    tell(QStringLiteral("xdg-open could not be started (%1).").arg(process->errorString()));
    process->deleteLater();
  });
  QObject::connect(process, &QProcess::finished, process, [process, tell](int code, QProcess::ExitStatus status) {
    if (status != QProcess::NormalExit) {
      tell(QStringLiteral("xdg-open crashed."));
    } else if (code != 0) {
      tell(QStringLiteral("xdg-open ended with status %1.").arg(code));
    }
    process->deleteLater();
  });
  process->start(QStringLiteral("xdg-open"), {url.toString()});
}

}  // namespace

QString HelpFilePath() {
  const QString appDir = QCoreApplication::applicationDirPath();
  const QStringList candidates = {
      appDir + QStringLiteral("/README.md"),
      appDir + QStringLiteral("/../share/doc/glyphkiln/README.md"),
      appDir + QStringLiteral("/../README.md"),
      QStringLiteral(GLYPHKILN_SOURCE_DIR "/README.md"),
  };
  for (const QString& candidate : candidates) {
    if (QFileInfo(candidate).isFile()) return QFileInfo(candidate).canonicalFilePath();
  }
  return QString();
}

QString HelpPagePath() {
  for (const auto location : {QStandardPaths::RuntimeLocation, QStandardPaths::CacheLocation}) {
    const QString base = QStandardPaths::writableLocation(location);
    if (base.isEmpty()) continue;
    const QString folder = base + QStringLiteral("/glyphkiln");
    if (QDir().mkpath(folder)) return folder + QStringLiteral("/help.html");
  }
  return QString();
}

void ShowHelpContents(QWidget* parent) {
  const QString path = HelpFilePath();
  QFile file(path);
  if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
    ShowAppMessage(parent, QStringLiteral("Can not find the help file README.md"));
    return;
  }
  // A browser shows HTML better than the Markdown source.
  QTextDocument document;
  document.setMarkdown(QString::fromUtf8(file.readAll()));
  const QString page = HelpPagePath();
  const QByteArray html = document.toHtml().toUtf8();
  const bool written = !page.isEmpty() && SaveAtomically(FilePath(page), [&html](std::ostream& out) {
    out.write(html.constData(), html.size());
    return true;
  });
  OpenInBrowser(parent, QUrl::fromLocalFile(written ? page : path));
}
