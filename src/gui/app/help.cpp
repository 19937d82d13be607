// Finding and opening the help page.
#include "gui/app/help.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "app/host.h"
#include "gui/app/gui_messages.h"
#include "gui/app/message_dialog.h"

namespace korvane::gui {

QString HelpFilePath() {
  const QDir programDir(QCoreApplication::applicationDirPath());
  const QString candidates[] = {
      programDir.filePath(QStringLiteral("help/index.html")),
#ifdef KORVANE_SOURCE_DIR
      QStringLiteral(KORVANE_SOURCE_DIR "/docs/help/index.html"),
#endif
  };
  for (const QString& path : candidates)
    if (QFileInfo::exists(path)) return QFileInfo(path).absoluteFilePath();
  return candidates[0];
}

void OpenHelp(QWidget* parent) {
  const QString path = HelpFilePath();
  if (QFileInfo::exists(path) && QDesktopServices::openUrl(QUrl::fromLocalFile(path))) return;
  TMessageDialog dialog(HelpNotFoundMessage(path), TMsgDlgType::mtError, {TMsgDlgBtn::mbOK}, TMsgDlgBtn::mbOK,
                        parent);
  dialog.Execute();
}

}  // namespace korvane::gui
