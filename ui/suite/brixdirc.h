#pragma once
// BrixDirC: the library's directory chooser. The user picks a drive (on Linux
// a mounted volume), walks the directory list, or types a path to jump to or
// to create. The chosen directory follows every change of the directory list
// at once; there is no cancel.
#include <functional>
#include <map>

#include <QDialog>
#include <QStringList>
#include <QTreeWidget>

#include "ui/suite/inputbox.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace ui {

// The volumes the drive list offers, from the text of /proc/mounts: "/"
// first, then the mount points of block devices and network shares in name
// order, each once. Escapes such as "\040" (a blank) are decoded.
QStringList DrivesFromMounts(const QString& mounts);

// The mounted volumes of this machine that are directories now.
QStringList MountedDrives();

// The drive that holds path: the longest drive that is path itself or one of
// its parent directories; empty when there is none.
QString DriveOf(const QString& path, const QStringList& drives);

// Dir1: the directory list. It shows the chain of directories from "/" down
// to the current one, then the current one's subdirectories; activating an
// entry (double click, Enter) makes it current.
class DirList : public QTreeWidget {
  Q_OBJECT

 public:
  explicit DirList(QWidget* parent = nullptr);

  QString path() const { return path_; }
  // Makes path the current directory. A path that is not a directory changes
  // nothing and gives false.
  bool setPath(const QString& path);

 signals:
  void pathChanged();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  // Every entry is always open: no expand and collapse marks.
  void drawBranches(QPainter*, const QRect&, const QModelIndex&) const override {}

 private:
  void Fill();

  QString path_;
};

class BrixDirC : public QDialog {
  Q_OBJECT

 public:
  // What the dialog asks of the system; tests put their own in.
  struct Services {
    QStringList drives;
    InputBoxFunction inputBox;
    std::function<bool(const QString& directory)> makeDirs;
  };
  static Services SystemServices();

  explicit BrixDirC(const QString& chosen, QWidget* parent = nullptr, Services services = SystemServices());

  // The chosen directory: on entry the one to start in, afterwards the one
  // last selected.
  QString chosenDirectory() const { return chosen_; }

 private slots:
  void Drive1_Change();
  void Dir1_Change();
  void CommandEnterDir_Click();
  void CommandMkDir_Click();
  void Command1_Click();

 private:
  bool SetDrive(const QString& path);
  void JumpTo(const QString& answer);

  Services services_;
  QString chosen_;
  // Like the per-drive current directory of Windows: the last directory
  // visited on each drive, where a change of drive returns to.
  std::map<QString, QString> lastDirOnDrive_;

  QLabel* Label1;
  QComboBox* Drive1;
  DirList* Dir1;
  QLabel* LabelDir;
  QPushButton* CommandEnterDir;
  QPushButton* CommandMkDir;
  QPushButton* Command1;
};

// Shows BrixDirC modally, starting in chosen, and leaves the directory last
// selected in chosen.
void ChooseDirectory(QString& chosen, QWidget* parent = nullptr);

}  // namespace ui
