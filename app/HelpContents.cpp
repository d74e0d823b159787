// Help Contents: the README found beside the program or in the source tree,
// turned from Markdown into a page the desktop's browser shows.
#include "HelpContents.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextDocument>
#include <QUrl>

#include "DialogSupport.h"
#include "QtEdge.h"
#include "SaveFile.h"

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
  const QString page = QDir::temp().filePath(QStringLiteral("glyphkiln-help.html"));
  const QByteArray html = document.toHtml().toUtf8();
  const bool written = SaveAtomically(FilePath(page), [&html](std::ostream& out) {
    out.write(html.constData(), html.size());
    return true;
  });
  const QUrl url = QUrl::fromLocalFile(written ? page : path);
  if (!QDesktopServices::openUrl(url)) ShowAppMessage(parent, QStringLiteral("Can not open ") + url.toLocalFile());
}
