// The application and its error handler.
#include "gui/app/application.h"

#include <QMessageBox>

#include <new>
#include <stdexcept>

#include "app/errors.h"
#include "app/host.h"
#include "gui/app/gui_messages.h"
#include "gui/app/message_dialog.h"
#include "gui/app/qt_convert.h"

namespace korvane::gui {

KorvaneApplication::KorvaneApplication(int& argc, char** argv)
    : QApplication(argc, argv), reserve_(new char[kReserveSize]) {
  setApplicationName(QString::fromLatin1(kApplicationTitle));
}

bool KorvaneApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    HandleException();
  }
  return false;
}

void KorvaneApplication::HandleException() {
  if (!reserve_) return;
  reserve_.reset();
  try {
    throw;
  } catch (const std::bad_alloc&) {
    QMessageBox::critical(nullptr, ErrorHandlerCaption(), OutOfMemoryMessage());
  } catch (const EAbort&) {
  } catch (const Exception& e) {
    TMessageDialog dialog(Q(e.what()), TMsgDlgType::mtError, {TMsgDlgBtn::mbOK}, TMsgDlgBtn::mbOK,
                          activeWindow());
    dialog.Execute();
  } catch (const std::logic_error&) {
    // A broken invariant of the program itself (an index out of range, ...).
    QMessageBox::critical(nullptr, ErrorHandlerCaption(), InternalErrorMessage());
  } catch (...) {
  }
  reserve_.reset(new (std::nothrow) char[kReserveSize]);
}

}  // namespace korvane::gui
