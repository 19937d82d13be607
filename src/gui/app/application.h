// KorvaneApplication: the Qt application with the program-wide error
// handler. Operations report their expected errors themselves; an error that
// escapes an event handler ends here. Out of memory and internal faults get a
// message box, a user's stop (EAbort) nothing; a message-carrying error that
// escaped its operation is shown so that no failure passes unnoticed. A small
// memory reserve is released before anything is shown, so that the message
// box can still be built when memory ran out, and taken again afterwards.
#pragma once

#include <QApplication>

#include <memory>

namespace korvane::gui {

class KorvaneApplication : public QApplication {
  Q_OBJECT

 public:
  KorvaneApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;

  // The handler's reaction to the exception being handled (call inside a
  // catch block). Does nothing while no reserve is held.
  void HandleException();

 private:
  static constexpr std::size_t kReserveSize = 2048;
  std::unique_ptr<char[]> reserve_;
};

}  // namespace korvane::gui
