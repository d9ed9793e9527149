// The five-minute tour, played on the real editor window: every step goes
// through the menu actions, panel controls and mouse events a user works
// with, the file names a user would pick come through the dialog service, and
// a picture of the editor's windows is taken after the steps that show
// something new.
#pragma once

#include <QImage>
#include <QPoint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "editor/Application.h"
#include "editor/CommandIds.h"
#include "editor/ShellView.h"
#include "tools/tour/TourDialogs.h"

class QWidget;

namespace posewright {

class MainWindow;

struct TourFolders {
  /// Where the sample character is read from.
  std::string samples;
  /// The rigged model the "your own character" step opens.
  std::string riggedModel;
  /// Where the tour saves and exports its files.
  std::string work;
};

class Tour {
 public:
  /// A picture taken at a step, named like "03-open".
  using PictureSink = std::function<void(const std::string& name, const QImage& picture)>;

  Tour(TourFolders folders, PictureSink sink);
  ~Tour();

  /// Plays every step. Returns false (after printing why to stderr) when a
  /// step does not do what the tour says it does.
  bool run();

 private:
  bool start();
  bool openFromMenu();
  bool selectAllAndZoom();
  bool pickBone();
  bool turnBone();
  bool selectAndWeight();
  bool recordKeyframes();
  bool playAndMirror();
  bool saveAndExport();
  bool ownCharacter();
  bool weightView();
  /// Clicks the bone's entry in the Bone panel's tree (opening its branches).
  bool clickBone(const std::string& name, int index);

  void picture(const std::string& name);
  /// A left-button drag in the viewport and the move after it; with a name,
  /// the picture is taken while the button is still down.
  bool dragInViewport(QPoint from, QPoint to, const std::string& pictureName);
  /// Runs a menu command as clicking its menu item does.
  void trigger(CommandId id);
  /// Where the viewport shows a model-space point (with the current camera).
  QPoint toViewport(const D3DXVECTOR3& p) const;
  bool waitForFrames(int count);
  bool fail(const std::string& why);
  template <typename T>
  T* panelChild(PanelId panel, const char* name);
  std::string workPath(const std::string& name) const;
  std::string samplePath(const std::string& name) const;

  TourFolders folders_;
  PictureSink sink_;
  Application app_;
  TourDialogs dialogs_;
  std::unique_ptr<MainWindow> window_;
};
}  // namespace posewright
