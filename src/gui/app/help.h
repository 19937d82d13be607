// The help page: an HTML file shipped beside the program (help/index.html)
// and opened in the desktop's web browser.
#pragma once

#include <QString>

class QWidget;

namespace korvane::gui {

// The help page's path: help/index.html in the program's folder, else the
// source tree's docs/help (a build that was not installed).
QString HelpFilePath();

// Opens the help page at its contents; shows an error box when it cannot.
void OpenHelp(QWidget* parent);

}  // namespace korvane::gui
