// Helpers of the desktop program's tests: answering a modal dialog that a
// call is about to open, and a main window over a program state of its own
// whose settings live in a temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/config_file.h"
#include "app/program_state.h"
#include "corpus/corpus_loader.h"
#include "gui/app/frame_form.h"
#include "gui/app/qt_host.h"
#include "temp_dir.h"

namespace korvane::gui::test {

// Runs answer on the next modal dialog as soon as it is shown (polling the
// event loop), so that a call that opens one can be made right after.
inline void AnswerNextModal(std::function<void(QWidget*)> answer) {
  auto* poll = new QTimer(qApp);
  poll->setInterval(5);
  QObject::connect(poll, &QTimer::timeout, poll, [poll, answer = std::move(answer)] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) return;
    poll->stop();
    poll->deleteLater();
    answer(modal);
  });
  poll->start();
}

// Clicks the button with this caption in a dialog.
inline void ClickButton(QWidget* dialog, const QString& caption) {
  for (QPushButton* button : dialog->findChildren<QPushButton*>())
    if (button->text() == caption) {
      button->click();
      return;
    }
  ADD_FAILURE() << "no button " << caption.toStdString();
}

// A main window with a program state of its own.
struct FrameFixture {
  FrameFixture()
      : state(host), frame(state, host, ConfigLocations{dir.path().string() + "/", dir.path().string() + "/user/"}, {}) {
    host.SetFrame(&frame);
    frame.resize(900, 600);
    frame.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&frame));
  }
  ~FrameFixture() { host.SetFrame(nullptr); }

  // Writes a text into the temporary folder and loads it.
  std::string LoadText(const std::string& name, const std::string& content) {
    const std::string path = dir.WriteFile(name, content);
    LoadTexts(state, {path});
    frame.UpdateCommandStates();
    return path;
  }

  korvane::test::TempDir dir;
  QtHost host;
  ProgramState state;
  TFrameForm frame;
};

}  // namespace korvane::gui::test
