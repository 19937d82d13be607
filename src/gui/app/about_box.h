// The About box: the product name, the version and the date the program file
// was built.
#pragma once

#include <QDialog>

namespace korvane::gui {

// "Version 0.1.0".
QString VersionText();
// The date of the program file, in the system's short date format.
QString BuildDateText();

class TAboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutBox(QWidget* parent = nullptr);
};

}  // namespace korvane::gui
