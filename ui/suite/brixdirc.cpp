#include "ui/suite/brixdirc.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "applib/paths.h"
#include "base/text.h"

namespace ui {
namespace {

bool Given(const QString& text) { return mission::IsGiven(text.toStdU16String()); }

// /proc/mounts writes blanks, tabs, line breaks and backslashes in its fields
// as three-digit octal escapes.
QString DecodeMountField(const QString& field) {
  QString out;
  out.reserve(field.size());
  for (qsizetype i = 0; i < field.size(); ++i) {
    if (field[i] == u'\\' && i + 3 < field.size()) {
      bool ok = false;
      const int code = field.mid(i + 1, 3).toInt(&ok, 8);
      if (ok) {
        out += QChar(code);
        i += 3;
        continue;
      }
    }
    out += field[i];
  }
  return out;
}

// File systems that hold the user's files although no block device backs them.
bool IsNetworkType(const QString& type) {
  static const QStringList kTypes = {QStringLiteral("nfs"),   QStringLiteral("nfs4"),       QStringLiteral("cifs"),
                                     QStringLiteral("smb3"),  QStringLiteral("smbfs"),      QStringLiteral("9p"),
                                     QStringLiteral("vboxsf"), QStringLiteral("virtiofs"),  QStringLiteral("fuse.sshfs")};
  return kTypes.contains(type);
}

bool IsVolume(const QString& source, const QString& type) {
  // Snap packages and similar read-only images are mounted from loop devices.
  if (type == QStringLiteral("squashfs")) return false;
  return source.startsWith(QStringLiteral("/dev/")) || IsNetworkType(type);
}

bool IsInside(const QString& path, const QString& directory) {
  if (directory == QStringLiteral("/")) return path.startsWith(u'/');
  return path == directory || path.startsWith(directory + u'/');
}

}  // namespace

QStringList DrivesFromMounts(const QString& mounts) {
  QStringList others;
  for (const QString& line : mounts.split(u'\n', Qt::SkipEmptyParts)) {
    const QStringList fields = line.split(u' ', Qt::SkipEmptyParts);
    if (fields.size() < 3) continue;
    const QString mountPoint = DecodeMountField(fields[1]);
    if (mountPoint == QStringLiteral("/") || !mountPoint.startsWith(u'/')) continue;
    if (IsVolume(DecodeMountField(fields[0]), fields[2])) others.append(mountPoint);
  }
  others.sort();
  others.removeDuplicates();
  return QStringList{QStringLiteral("/")} + others;
}

QStringList MountedDrives() {
  QFile file(QStringLiteral("/proc/mounts"));
  QString text;
  if (file.open(QIODevice::ReadOnly)) text = QString::fromLocal8Bit(file.readAll());
  QStringList drives = DrivesFromMounts(text);
  // Single files can be bind-mounted too (containers do it); they are no drives.
  drives.removeIf([](const QString& drive) { return !QFileInfo(drive).isDir(); });
  if (drives.isEmpty()) drives.append(QStringLiteral("/"));
  return drives;
}

QString DriveOf(const QString& path, const QStringList& drives) {
  QString best;
  for (const QString& drive : drives) {
    if (IsInside(path, drive) && drive.size() > best.size()) best = drive;
  }
  return best;
}

// --- DirList ---------------------------------------------------------------

DirList::DirList(QWidget* parent) : QTreeWidget(parent) {
  setHeaderHidden(true);
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setIndentation(12);
  connect(this, &QTreeWidget::itemActivated, this,
          [this](QTreeWidgetItem* item) { setPath(item->data(0, Qt::UserRole).toString()); });
}

bool DirList::setPath(const QString& path) {
  if (path.isEmpty()) return false;
  const QFileInfo info(path);
  if (!info.isDir()) return false;
  const QString clean = QDir::cleanPath(info.absoluteFilePath());
  if (clean == path_) return true;
  path_ = clean;
  Fill();
  emit pathChanged();
  return true;
}

void DirList::Fill() {
  clear();
  const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
  const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);

  auto* item = new QTreeWidgetItem(this, QStringList{QStringLiteral("/")});
  item->setIcon(0, open);
  item->setData(0, Qt::UserRole, QStringLiteral("/"));
  QString walked;
  for (const QString& part : path_.split(u'/', Qt::SkipEmptyParts)) {
    walked += u'/' + part;
    item = new QTreeWidgetItem(item, QStringList{part});
    item->setIcon(0, open);
    item->setData(0, Qt::UserRole, walked);
  }
  QFont bold = item->font(0);
  bold.setBold(true);
  item->setFont(0, bold);

  const QDir current(path_);
  for (const QString& name : current.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
    auto* child = new QTreeWidgetItem(item, QStringList{name});
    child->setIcon(0, closed);
    child->setData(0, Qt::UserRole, current.filePath(name));
  }
  expandAll();
  setCurrentItem(item);
  // Before the list is first shown it has no height to scroll in; it then
  // opens at the top, where the chain of parents is.
  if (isVisible()) scrollToItem(item);
}

void DirList::keyPressEvent(QKeyEvent* event) {
  // Enter opens the selected directory; it must not reach the dialog's
  // default button as well.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    if (QTreeWidgetItem* item = currentItem()) setPath(item->data(0, Qt::UserRole).toString());
    event->accept();
    return;
  }
  QTreeWidget::keyPressEvent(event);
}

// --- BrixDirC --------------------------------------------------------------

BrixDirC::Services BrixDirC::SystemServices() {
  return Services{MountedDrives(), InputBox,
                  [](const QString& directory) { return applib::MakeDirs(directory.toStdU16String()); }};
}

BrixDirC::BrixDirC(const QString& chosen, QWidget* parent, Services services)
    : QDialog(parent), services_(std::move(services)), chosen_(chosen) {
  setWindowTitle(QStringLiteral("Directory"));
  setFont(QFont(QStringLiteral("Tahoma"), 8));

  Label1 = new QLabel(QStringLiteral("Select the directory:"), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Drive1 = new QComboBox(this);
  Drive1->setObjectName(QStringLiteral("Drive1"));
  Drive1->addItems(services_.drives);
  Dir1 = new DirList(this);
  Dir1->setObjectName(QStringLiteral("Dir1"));
  LabelDir = new QLabel(this);
  LabelDir->setObjectName(QStringLiteral("LabelDir"));
  LabelDir->setFrameShape(QFrame::StyledPanel);
  LabelDir->setTextInteractionFlags(Qt::TextSelectableByMouse);
  CommandEnterDir = new QPushButton(QStringLiteral("&Enter directly"), this);
  CommandEnterDir->setObjectName(QStringLiteral("CommandEnterDir"));
  CommandMkDir = new QPushButton(QStringLiteral("&Create Directory"), this);
  CommandMkDir->setObjectName(QStringLiteral("CommandMkDir"));
  Command1 = new QPushButton(QStringLiteral("&OK"), this);
  Command1->setObjectName(QStringLiteral("Command1"));
  Command1->setDefault(true);

  auto* layout = new QGridLayout(this);
  layout->addWidget(Label1, 0, 0, 1, 3);
  layout->addWidget(Drive1, 1, 0, 1, 3);
  layout->addWidget(Dir1, 2, 0, 1, 3);
  layout->addWidget(LabelDir, 3, 0, 1, 3);
  layout->addWidget(CommandEnterDir, 4, 0);
  layout->addWidget(CommandMkDir, 4, 1);
  layout->addWidget(Command1, 4, 2);
  resize(420, 360);

  connect(Drive1, &QComboBox::activated, this, &BrixDirC::Drive1_Change);
  connect(Dir1, &DirList::pathChanged, this, &BrixDirC::Dir1_Change);
  connect(CommandEnterDir, &QPushButton::clicked, this, &BrixDirC::CommandEnterDir_Click);
  connect(CommandMkDir, &QPushButton::clicked, this, &BrixDirC::CommandMkDir_Click);
  connect(Command1, &QPushButton::clicked, this, &BrixDirC::Command1_Click);

  // Before the chosen directory is applied the list shows the working
  // directory, as a fresh directory list does; that is no choice yet.
  {
    const QSignalBlocker quiet(Dir1);
    Dir1->setPath(QDir::currentPath());
  }
  SetDrive(chosen_);
  // The label shows the start directory even when the list was there already.
  if (Dir1->setPath(chosen_)) Dir1_Change();
}

bool BrixDirC::SetDrive(const QString& path) {
  if (path.isEmpty()) return false;
  const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
  const int index = Drive1->findText(DriveOf(absolute, services_.drives));
  if (index < 0) return false;
  Drive1->setCurrentIndex(index);
  return true;
}

void BrixDirC::Drive1_Change() {
  const QString drive = Drive1->currentText();
  const auto last = lastDirOnDrive_.find(drive);
  Dir1->setPath(last != lastDirOnDrive_.end() ? last->second : drive);
}

void BrixDirC::Dir1_Change() {
  LabelDir->setText(Dir1->path());
  chosen_ = LabelDir->text();
  lastDirOnDrive_[DriveOf(chosen_, services_.drives)] = chosen_;
}

void BrixDirC::JumpTo(const QString& answer) {
  SetDrive(answer);
  Dir1->setPath(answer);
  Drive1_Change();
  Dir1_Change();
}

void BrixDirC::CommandEnterDir_Click() {
  const QString answer = services_.inputBox(this, QStringLiteral("Change Directory"),
                                            QStringLiteral("Enter the directory path to jump to:"), chosen_);
  if (Given(answer)) JumpTo(answer);
}

void BrixDirC::CommandMkDir_Click() {
  const QString answer = services_.inputBox(this, QStringLiteral("Create Directory"),
                                            QStringLiteral("Enter the directory or directory tree to create:"), chosen_);
  if (!Given(answer)) return;
  services_.makeDirs(answer);
  JumpTo(answer);
}

void BrixDirC::Command1_Click() { accept(); }

void ChooseDirectory(QString& chosen, QWidget* parent) {
  BrixDirC dialog(chosen, parent);
  dialog.exec();
  chosen = dialog.chosenDirectory();
}

}  // namespace ui
