// Registering the workspace file type with the desktop.
#include "gui/app/workspace_type.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

namespace korvane::gui {
namespace {

// Writes text to path when the file is missing or holds something else.
bool WriteIfChanged(const QString& path, const QString& text) {
  const QByteArray bytes = text.toUtf8();
  QFile current(path);
  if (current.open(QIODevice::ReadOnly) && current.readAll() == bytes) return false;
  current.close();
  if (!QDir().mkpath(QFileInfo(path).absolutePath())) return false;
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  file.write(bytes);
  return file.commit();
}

// Runs a cache tool of the desktop on folder, when it is installed.
void Refresh(const QString& tool, const QString& folder) {
  const QString program = QStandardPaths::findExecutable(tool);
  if (!program.isEmpty()) QProcess::startDetached(program, {folder});
}

}  // namespace

QString WorkspaceMimePackage() {
  return QStringLiteral(
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
             "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
             "  <mime-type type=\"%1\">\n"
             "    <comment>Korvane Workspace</comment>\n"
             "    <glob pattern=\"*.kws\"/>\n"
             "  </mime-type>\n"
             "</mime-info>\n")
      .arg(QString::fromLatin1(kWorkspaceMimeType));
}

QString KorvaneDesktopEntry(const QString& programPath) {
  // Inside a quoted argument, '"', '`', '$' and '\' are escaped with a
  // backslash (and the backslash itself doubled once more by the key file
  // format).
  QString quoted;
  for (const QChar c : programPath) {
    if (c == u'"' || c == u'`' || c == u'$') quoted += QStringLiteral("\\\\");
    if (c == u'\\') quoted += QStringLiteral("\\\\\\");
    quoted += c;
  }
  return QStringLiteral(
             "[Desktop Entry]\n"
             "Type=Application\n"
             "Name=Korvane\n"
             "Comment=Concordancer for corpus linguists\n"
             "Exec=\"%1\" %f\n"
             "MimeType=%2;\n"
             "Terminal=false\n"
             "Categories=Education;Languages;\n")
      .arg(quoted, QString::fromLatin1(kWorkspaceMimeType));
}

QString UserDataHome() {
  const QString xdg = qEnvironmentVariable("XDG_DATA_HOME");
  if (QDir::isAbsolutePath(xdg)) return xdg;
  return QDir::homePath() + QStringLiteral("/.local/share");
}

bool RegisterWorkspaceType(const QString& programPath, const QString& dataHome) {
  const QString mime = dataHome + QStringLiteral("/mime");
  const QString applications = dataHome + QStringLiteral("/applications");
  const bool mimeWritten =
      WriteIfChanged(mime + QStringLiteral("/packages/korvane-workspace.xml"), WorkspaceMimePackage());
  const bool entryWritten =
      WriteIfChanged(applications + QStringLiteral("/korvane.desktop"), KorvaneDesktopEntry(programPath));
  if (mimeWritten) Refresh(QStringLiteral("update-mime-database"), mime);
  if (entryWritten) Refresh(QStringLiteral("update-desktop-database"), applications);
  return mimeWritten || entryWritten;
}

}  // namespace korvane::gui
