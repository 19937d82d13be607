// TWkSpaceOptionsForm: the "Save Workspace Options" dialog, four check boxes
// choosing what a workspace keeps in its data folder besides the settings
// and the text list. OK stores all four; Cancel changes nothing.
#pragma once

#include <QDialog>

#include "app/workspace_options.h"

class QCheckBox;

namespace korvane::gui {

class TWkSpaceOptionsForm : public QDialog {
  Q_OBJECT

 public:
  explicit TWkSpaceOptionsForm(const TWorkspaceOptions& options, QWidget* parent = nullptr);

  // The options as the boxes show them.
  TWorkspaceOptions Options() const;

  QCheckBox* LinePagesBox = nullptr;
  QCheckBox* WatchedTagsBox = nullptr;
  QCheckBox* FreqBox = nullptr;
  QCheckBox* URLsBox = nullptr;
};

// Shows the dialog with options; on OK stores the boxes into options and
// returns true.
bool ExecuteWorkspaceOptions(TWorkspaceOptions& options, QWidget* parent);

}  // namespace korvane::gui
