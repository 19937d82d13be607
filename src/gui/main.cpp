// korvane: the desktop concordancer. Creates the application, the host
// through which the core reaches the user, the program state and the main
// window, then runs the message loop. The command line's arguments are texts
// to load (or a workspace as the first argument).
#include <QMessageBox>

#include <memory>

#include "app/config_file.h"
#include "app/program_state.h"
#include "gui/app/application.h"
#include "gui/app/frame_form.h"
#include "gui/app/gui_messages.h"
#include "gui/app/qt_host.h"
#include "gui/app/workspace_type.h"

int main(int argc, char** argv) {
  using namespace korvane;
  using namespace korvane::gui;
  KorvaneApplication application(argc, argv);
  QtHost host;
  ProgramState state(host);
  std::unique_ptr<TFrameForm> frame;
  try {
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    frame = std::make_unique<TFrameForm>(state, host, ConfigLocations::ForCurrentProcess(), arguments);
  } catch (...) {
    QMessageBox::critical(nullptr, StartupFailureCaption(), StartupFailureMessage());
    return 1;
  }
  host.SetFrame(frame.get());
  RegisterWorkspaceType(QCoreApplication::applicationFilePath(), UserDataHome());
  frame->show();
  return application.exec();
}
