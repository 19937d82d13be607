// The desktop registration of workspace files: the two files, written once
// and left alone while they are current, and the program path quoted for the
// desktop entry.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

#include "gui/app/workspace_type.h"
#include "temp_dir.h"

namespace korvane::gui {
namespace {

QString Read(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

TEST(WorkspaceTypeTest, WritesTheMimePackageAndDesktopEntryOnce) {
  korvane::test::TempDir dir;
  const QString home = QString::fromStdString(dir.path().string()) + QStringLiteral("/share");
  EXPECT_TRUE(RegisterWorkspaceType(QStringLiteral("/opt/korvane/korvane"), home));
  const QString mime = Read(home + QStringLiteral("/mime/packages/korvane-workspace.xml"));
  EXPECT_TRUE(mime.contains(QStringLiteral("<glob pattern=\"*.kws\"/>")));
  EXPECT_TRUE(mime.contains(QStringLiteral("<comment>Korvane Workspace</comment>")));
  const QString entry = Read(home + QStringLiteral("/applications/korvane.desktop"));
  EXPECT_TRUE(entry.contains(QStringLiteral("Exec=\"/opt/korvane/korvane\" %f\n")));
  EXPECT_TRUE(entry.contains(QStringLiteral("MimeType=application/x-korvane-workspace;\n")));

  // Current files are not written again; a moved program updates the entry.
  EXPECT_FALSE(RegisterWorkspaceType(QStringLiteral("/opt/korvane/korvane"), home));
  EXPECT_TRUE(RegisterWorkspaceType(QStringLiteral("/home/ann/My $Tools/korvane"), home));
  EXPECT_TRUE(Read(home + QStringLiteral("/applications/korvane.desktop"))
                  .contains(QStringLiteral("Exec=\"/home/ann/My \\\\$Tools/korvane\" %f\n")));
}

TEST(WorkspaceTypeTest, AnUnwritableFolderIsIgnored) {
  korvane::test::TempDir dir;
  const QString blocker = QString::fromStdString(dir.WriteFile("share", "a file, not a folder"));
  EXPECT_FALSE(RegisterWorkspaceType(QStringLiteral("/opt/korvane/korvane"), blocker));
}

}  // namespace
}  // namespace korvane::gui
