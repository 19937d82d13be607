// The About box.
#include "gui/app/about_box.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>

#include "app/host.h"

#ifndef KORVANE_VERSION
#define KORVANE_VERSION "0"
#endif

namespace korvane::gui {

QString VersionText() { return QStringLiteral("Version ") + QStringLiteral(KORVANE_VERSION); }

QString BuildDateText() {
  const QFileInfo program(QCoreApplication::applicationFilePath());
  return QLocale::system().toString(program.lastModified().date(), QLocale::ShortFormat);
}

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("About Korvane"));
  auto* layout = new QVBoxLayout(this);
  auto* name = new QLabel(QString::fromLatin1(kApplicationTitle), this);
  QFont big = name->font();
  big.setPointSize(big.pointSize() * 2);
  big.setBold(true);
  name->setFont(big);
  name->setAlignment(Qt::AlignCenter);
  auto* tagline = new QLabel(QStringLiteral("A concordancer for corpus linguistics"), this);
  auto* version = new QLabel(VersionText(), this);
  auto* built = new QLabel(QStringLiteral("Built ") + BuildDateText(), this);
  for (QLabel* label : {tagline, version, built}) label->setAlignment(Qt::AlignCenter);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  for (QWidget* w : {static_cast<QWidget*>(name), static_cast<QWidget*>(tagline), static_cast<QWidget*>(version),
                     static_cast<QWidget*>(built), static_cast<QWidget*>(buttons)})
    layout->addWidget(w);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace korvane::gui
