// The desktop program's own message texts.
#include "gui/app/gui_messages.h"

#include <QFileInfo>
#include <QLocale>

#include <climits>

#include "app/host.h"
#include "corpus/corpus_loader.h"
#include "gui/app/qt_convert.h"

namespace korvane::gui {

QString QuitQuestion() { return QStringLiteral("Do you really want to quit?"); }

QString CommandNotAvailableMessage(const QString& caption) {
  QString name = caption;
  name.remove(QLatin1Char('&'));
  if (name.endsWith(QLatin1String("..."))) name.chop(3);
  return QStringLiteral("\"%1\" is not available in this version of Korvane yet.").arg(name.trimmed());
}

QString OutOfMemoryMessage() {
  return QStringLiteral(
      "Not enough memory to complete the requested operation. Please quit some applications and try again.");
}

QString InternalErrorMessage() {
  return QStringLiteral("Internal error has occurred. Please save your work and restart the program.");
}

QString ErrorHandlerCaption() { return QStringLiteral("Error"); }

QString StartupFailureMessage() { return QStringLiteral("Not enough memory to load the program."); }

QString StartupFailureCaption() { return QStringLiteral("Korvane - Error"); }

QString HelpNotFoundMessage(const QString& path) {
  return QStringLiteral("Unable to open the help file: %1.").arg(path);
}

QString FrameCaption(const std::string& workspaceFile) {
  const QString title = QString::fromLatin1(kApplicationTitle);
  if (workspaceFile.empty()) return title;
  QString name = QFileInfo(Q(workspaceFile)).completeBaseName().toLower();
  if (!name.isEmpty()) name[0] = name[0].toUpper();
  return title + QStringLiteral(" - ") + name;
}

QString URLBoxHint(const std::string& url, std::int32_t totalSize, std::int32_t received) {
  if (totalSize == INT32_MAX)
    return QStringLiteral("%1 (%2 of unknown)").arg(Q(url), Q(SizeText(received)));
  const double percent = totalSize > 0 ? 100.0 * received / totalSize : 0.0;
  QLocale locale = QLocale::system();
  locale.setNumberOptions(QLocale::OmitGroupSeparator);
  return QStringLiteral("%1 (%2% of %3)").arg(Q(url), locale.toString(percent, 'f', 2), Q(SizeText(totalSize)));
}

QString CorpusTextCaption(const std::string& name) {
  const QString shown = IsURL(name) ? Q(name) : QFileInfo(Q(name)).fileName();
  return QStringLiteral("Corpus Text - ") + shown;
}

QString CorporaListCaption() { return QStringLiteral("List of Open Corpora"); }

QString SelectFilesToViewCaption() { return QStringLiteral("Select File(s) to View"); }

QString PrinterErrorMessage() { return QStringLiteral("The printer could not print the text."); }

}  // namespace korvane::gui
