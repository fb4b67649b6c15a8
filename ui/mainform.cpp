#include "ui/mainform.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <cmath>
#include <QStatusBar>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>

#include "applib/ini.h"
#include "applib/paths.h"
#include "applib/position.h"
#include "ui/models.h"
#include "ui/qtext.h"
#include "ui/rules.h"
#include "views/modes.h"

namespace ui {

namespace {

constexpr auto kSettingsFile = u"torvk32.ini";
constexpr auto kPositionKey = u"TORVEK32";

// The layout works on the window's outer size. Qt reports the client area
// below the menu bar and above the status bar; the classic frame adds 120
// twips to the width and 945 to the height (caption, menu bar, borders and
// status bar), which puts the panes' bottom edge one pixel above the status
// bar and their right edge one pixel inside the window.
constexpr double kOuterExtraWidth = 120;
constexpr double kOuterExtraHeight = 945;

// Design geometry, twips.
constexpr int kClientWidth = 13710;
constexpr int kClientHeight = 10050;
constexpr int kToolbar2Height = 450;
constexpr int kToolbar1Height = 630;
constexpr int kStatusHeight = 255;
constexpr int kIconLeft = 300;
constexpr int kIconSize = 480;
constexpr int kLabelWidth = 1155;
constexpr int kLabelHeight = 195;
constexpr int kCaptionOffset = 540;

QColor FromBgr(std::uint32_t color) {
  return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                static_cast<int>((color >> 16) & 0xFF));
}

// The code windows keep CR LF line breaks in their source texts; the text
// document holds one character per line break.
QString DocumentText(mission::TextView text) {
  QString s = ToQString(text);
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return s;
}

// Tahoma is registered at start-up by the library's font check, which finds
// the font wherever the system keeps it.
QFont TahomaFont() {
  QFont font(QStringLiteral("Tahoma"));
  font.setPointSizeF(8.25);
  return font;
}

QFont CodeFont() {
  QFont font(QStringLiteral("Courier New"));
  font.setStyleHint(QFont::TypeWriter);
  font.setPointSizeF(9.75);
  return font;
}

}  // namespace

FSMMainForm::FSMMainForm(const QString& settingsDirectory, Dialogs* dialogs, QWidget* parent)
    : QMainWindow(parent), settingsDirectory_(settingsDirectory), dialogs_(dialogs ? dialogs : &platformDialogs_) {
  Build();
}

FSMMainForm::FSMMainForm(const applib::Library& library, Dialogs* dialogs, QWidget* parent)
    : QMainWindow(parent),
      library_(&library),
      settingsDirectory_(ToQString(library.pfad_main)),
      dialogs_(dialogs ? dialogs : &platformDialogs_) {
  Build();
}

}  // namespace ui

// The pictures live in the static ui library; the linker keeps them only when
// asked for by name.
static void InitIconResources() { Q_INIT_RESOURCE(icons); }

namespace ui {

void FSMMainForm::Build() {
  InitIconResources();
  setObjectName(QStringLiteral("FSMMainForm"));
  setWindowTitle(ToQString(kDesignCaption));
  setWindowIcon(QIcon(QStringLiteral(":/icons/torvek32.png")));
  CreateMenus();
  CreatePanes();
  CreateToolbar();
  CreateIconBar();
  resize(Px(kClientWidth), Px(kClientHeight - kStatusHeight) + menuBar()->sizeHint().height() +
                               statusBar()->sizeHint().height());
  Form_Load();
}

FSMMainForm::~FSMMainForm() = default;

double FSMMainForm::TwipsPerPixel() const {
  const int dpi = logicalDpiX();
  return dpi > 0 ? 1440.0 / dpi : 15.0;
}

int FSMMainForm::Px(double twips) const { return qRound(twips / TwipsPerPixel()); }

// --- Building the window ---

void FSMMainForm::CreateMenus() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  file->menuAction()->setObjectName(QStringLiteral("MenuFile"));
  const auto add = [this](QMenu* menu, const char* name, const QString& caption, const QKeySequence& key) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(key);
    action->setShortcutContext(Qt::WindowShortcut);
    return action;
  };
  const auto separator = [](QMenu* menu, const char* name) {
    QAction* action = menu->addSeparator();
    action->setObjectName(QString::fromLatin1(name));
    return action;
  };
  connect(add(file, "MenuFileOpenFS1", QStringLiteral("Open FreeSpace &1 mission"), QKeySequence(Qt::CTRL | Qt::Key_F1)),
          &QAction::triggered, this, &FSMMainForm::MenuFileOpenFS1_Click);
  connect(add(file, "MenuFileOpenFS2", QStringLiteral("Open FreeSpace &2 mission"), QKeySequence(Qt::CTRL | Qt::Key_F2)),
          &QAction::triggered, this, &FSMMainForm::MenuFileOpenFS2_Click);
  separator(file, "MenuFileBlank0");
  connect(add(file, "MenuFileExit", QStringLiteral("E&xit"), {}), &QAction::triggered, this,
          &FSMMainForm::MenuFileExit_Click);

  QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
  view->menuAction()->setObjectName(QStringLiteral("MenuView"));
  for (const views::ModeInfo& mode : views::Modes()) {
    const QByteArray name = "MenuViewMode" + QByteArray::number(mode.mode);
    QAction* action = add(view, name.constData(), ToQString(mode.menuCaption), QKeySequence(Qt::Key_F1 + mode.mode));
    action->setCheckable(true);
    const int index = mode.mode;
    connect(action, &QAction::triggered, this, [this, index] { MenuViewMode_Click(index); });
    menuViewMode_[static_cast<std::size_t>(index)] = action;
  }
  separator(view, "MenuViewBlank0");
  menuViewTreeView_ = add(view, "MenuViewTreeView", QStringLiteral("Show &TreeView"), {});
  menuViewCodeL_ = add(view, "MenuViewCodeL", QStringLiteral("Show &SEXP code window"), {});
  menuViewCodeR_ = add(view, "MenuViewCodeR", QStringLiteral("Show &Parsed code window"), {});
  for (QAction* a : {menuViewTreeView_, menuViewCodeL_, menuViewCodeR_}) a->setCheckable(true);
  connect(menuViewTreeView_, &QAction::triggered, this, &FSMMainForm::MenuViewTreeView_Click);
  connect(menuViewCodeL_, &QAction::triggered, this, &FSMMainForm::MenuViewCodeL_Click);
  connect(menuViewCodeR_, &QAction::triggered, this, &FSMMainForm::MenuViewCodeR_Click);
  separator(view, "MenuViewBlank1");
  menuViewTreeViewCA_ =
      add(view, "MenuViewTreeViewCA", QStringLiteral("Collapse All in TreeView"), QKeySequence(Qt::CTRL | Qt::Key_C));
  connect(menuViewTreeViewCA_, &QAction::triggered, this, &FSMMainForm::MenuViewTreeViewCA_Click);

  QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
  help->menuAction()->setObjectName(QStringLiteral("MenuHelp"));
  menuHelpTutorial_ = add(help, "MenuHelpTutorial", QStringLiteral("KORVALINE Quick Start Tutorial"),
                          QKeySequence(Qt::Key_F1));
  menuHelpBlank1_ = separator(help, "MenuHelpBlank1");
  connect(menuHelpTutorial_, &QAction::triggered, this, &FSMMainForm::helpTutorialRequested);
  connect(add(help, "MenuHelpQXVC", QStringLiteral("Check for new version"), {}), &QAction::triggered, this,
          &FSMMainForm::helpQXVCRequested);
  connect(add(help, "MenuHelpAbout", QStringLiteral("About"), {}), &QAction::triggered, this,
          &FSMMainForm::helpAboutRequested);
}

void FSMMainForm::CreateToolbar() {
  toolbar2_ = new QToolBar(client_);
  toolbar2_->setObjectName(QStringLiteral("Toolbar2"));
  toolbar2_->setMovable(false);
  toolbar2_->setIconSize(QSize(Px(360), Px(360)));
  toolbar2_->setMouseTracking(true);
  toolbar2_->installEventFilter(this);
  const auto button = [this](const QString& key, const QString& icon, const QString& tip) {
    QAction* action = toolbar2_->addAction(QIcon(icon), tip);
    action->setObjectName(key);
    action->setToolTip(tip);
    connect(action, &QAction::triggered, this, [this, key] { Toolbar2_ButtonClick(key); });
    if (QWidget* w = toolbar2_->widgetForAction(action)) {
      w->setObjectName(QStringLiteral("Toolbar2_") + key);
      w->setMouseTracking(true);
      w->installEventFilter(this);
    }
    return action;
  };
  button(QStringLiteral("FileOpenFS1"), QStringLiteral(":/icons/open_fs1.png"), QStringLiteral("Open FS1 mission"));
  button(QStringLiteral("FileOpenFS2"), QStringLiteral(":/icons/open_fs2.png"), QStringLiteral("Open FS2 mission"));
  treeviewButton_ =
      button(QStringLiteral("treeview"), QStringLiteral(":/icons/treeview.png"), QStringLiteral("Show TreeView"));
  treeviewButton_->setCheckable(true);
  toolbar2_->setGeometry(0, 0, Px(kClientWidth), Px(kToolbar2Height));

  toolbar1_ = new QWidget(client_);
  toolbar1_->setObjectName(QStringLiteral("Toolbar1"));
  toolbar1_->setAutoFillBackground(true);
  toolbar1_->setGeometry(0, Px(kToolbar2Height), Px(kClientWidth), Px(kToolbar1Height));
  toolbar1_->lower();
}

void FSMMainForm::CreatePanes() {
  client_ = new QWidget(this);
  client_->setObjectName(QStringLiteral("client"));
  client_->installEventFilter(this);
  setCentralWidget(client_);

  barTop_ = new QFrame(client_);
  barTop_->setObjectName(QStringLiteral("BarTop"));
  barTop_->setFrameShape(QFrame::NoFrame);
  barTopText_ = new QLabel(QStringLiteral("Overview"), barTop_);
  barTopText_->setObjectName(QStringLiteral("BarTopText"));
  QFont titleFont = TahomaFont();
  titleFont.setPointSizeF(12);
  titleFont.setBold(true);
  barTopText_->setFont(titleFont);
  barTopText_->setGeometry(Px(60), 0, Px(8175), Px(495));

  treeModel_ = new OutlineTreeModel(this);
  treeModel_->SetMission(&mission_);
  treeView1_ = new QTreeView(client_);
  treeView1_->setObjectName(QStringLiteral("TreeView1"));
  treeView1_->setHeaderHidden(true);
  treeView1_->setUniformRowHeights(true);
  treeView1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  treeView1_->setModel(treeModel_);
  connect(treeView1_, &QTreeView::clicked, this, &FSMMainForm::TreeView1_NodeClick);

  listModel_ = new ListModel(this);
  sortModel_ = new ListSortModel(this);
  sortModel_->setSourceModel(listModel_);
  listView1_ = new QTreeView(client_);
  listView1_->setObjectName(QStringLiteral("ListView1"));
  listView1_->setRootIsDecorated(false);
  listView1_->setItemsExpandable(false);
  listView1_->setUniformRowHeights(true);
  listView1_->setAllColumnsShowFocus(true);
  listView1_->setSelectionMode(QAbstractItemView::SingleSelection);
  listView1_->setSelectionBehavior(QAbstractItemView::SelectRows);
  listView1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  listView1_->setModel(sortModel_);
  listView1_->header()->setSectionsClickable(true);
  listView1_->header()->setStretchLastSection(false);
  connect(listView1_->header(), &QHeaderView::sectionClicked, this, &FSMMainForm::ListView1_ColumnClick);
  connect(listView1_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) {
            if (!selectingRow_ && current.isValid()) ListView1_ItemClick(current.row() + 1);
          });

  richTextBox1_ = new QTextEdit(client_);
  richTextBox1_->setObjectName(QStringLiteral("RichTextBox1"));
  richTextBox2_ = new QTextEdit(client_);
  richTextBox2_->setObjectName(QStringLiteral("RichTextBox2"));
  for (QTextEdit* box : {richTextBox1_, richTextBox2_}) {
    box->setReadOnly(true);
    box->setAcceptRichText(false);
    box->setLineWrapMode(QTextEdit::NoWrap);
    box->setFont(CodeFont());
    box->document()->setDefaultFont(CodeFont());
  }
  richTextBox1_->setPlainText(QStringLiteral("SEXP Trees"));
  richTextBox2_->setPlainText(QStringLiteral("Parsed Code"));

  // Mouse moves over these panes hide the icon bar's hover frame.
  for (QWidget* w : {static_cast<QWidget*>(treeView1_->viewport()), static_cast<QWidget*>(listView1_->viewport()),
                     static_cast<QWidget*>(richTextBox1_->viewport()),
                     static_cast<QWidget*>(richTextBox2_->viewport())}) {
    w->setMouseTracking(true);
    w->installEventFilter(this);
  }

  statusPanel_ = new QLabel(QStringLiteral("Ready"));
  statusPanel_->setObjectName(QStringLiteral("StatusPanel1"));
  statusBar()->setObjectName(QStringLiteral("StatusBar1"));
  statusBar()->setFont(TahomaFont());
  statusBar()->setSizeGripEnabled(true);
  statusBar()->addWidget(statusPanel_, 1);
}

void FSMMainForm::CreateIconBar() {
  barLeft_ = new QFrame(client_);
  barLeft_->setObjectName(QStringLiteral("BarLeft"));
  barLeft_->setFrameShape(QFrame::NoFrame);
  barLeft_->setMouseTracking(true);
  barLeft_->installEventFilter(this);
  barLeft_->setGeometry(Px(60), Px(540), Px(1215), Px(6000));

  for (int i = 1; i <= kModeCount; ++i) {
    const auto idx = static_cast<std::size_t>(i);
    QLabel* icon = new QLabel(barLeft_);
    icon->setObjectName(QStringLiteral("IconMode%1").arg(i));
    const QString file = QStringLiteral(":/icons/mode%1_").arg(i);
    static const char* const kFiles[] = {"",      "general",  "goals", "directives",    "events",
                                         "messages", "ships", "wings", "reinforcements"};
    icon->setPixmap(QPixmap(file + QString::fromLatin1(kFiles[i]) + QStringLiteral(".png")));
    icon->setAlignment(Qt::AlignCenter);
    icon->setMouseTracking(true);
    icon->installEventFilter(this);
    icon->hide();
    iconMode_[idx] = icon;

    QLabel* label = new QLabel(barLeft_);
    label->setObjectName(QStringLiteral("LabelMode%1").arg(i));
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setFont(TahomaFont());
    label->setMouseTracking(true);
    label->installEventFilter(this);
    label->hide();
    labelMode_[idx] = label;
  }

  // The hover frame: left, top, right, bottom lines. Top and left in the
  // title-bar text colour, right and bottom black, for a raised look.
  for (std::size_t i = 0; i < iconO0_.size(); ++i) {
    QFrame* line = new QFrame(barLeft_);
    line->setObjectName(QStringLiteral("IconO0_%1").arg(i));
    const bool light = i == 0 || i == 1;
    line->setStyleSheet(light ? QStringLiteral("background: palette(highlighted-text);")
                              : QStringLiteral("background: black;"));
    line->setAttribute(Qt::WA_TransparentForMouseEvents);
    line->hide();
    iconO0_[i] = line;
  }

  for (int i = 1; i <= 2; ++i) {
    QPushButton* button = new QPushButton(i == 1 ? QStringLiteral("up") : QStringLiteral("down"), barLeft_);
    button->setObjectName(QStringLiteral("BarLeftScroll%1").arg(i));
    button->setFont(TahomaFont());
    button->setGeometry(0, 0, Px(kLabelWidth), Px(kLabelHeight));
    button->hide();
    connect(button, &QPushButton::clicked, this, [this, i] { BarLeftScroll_Click(i); });
    barLeftScroll_[static_cast<std::size_t>(i)] = button;
  }
}

// --- Life cycle ---

void FSMMainForm::Form_Load() {
  RestorePosition();
  firstIconIndex_ = 1;
  for (int i = 1; i <= kModeCount; ++i) {
    const auto idx = static_cast<std::size_t>(i);
    // The menu caption without its access-key mark.
    mission::Text caption = FromQString(menuViewMode_[idx]->text());
    mission::ReplaceFirst(caption, u"&", u"");
    labelMode_[idx]->setText(ToQString(caption));
    iconMode_[idx]->setGeometry(Px(kIconLeft), 0, Px(kIconSize), Px(kIconSize));
    labelMode_[idx]->setGeometry(0, 0, Px(kLabelWidth), Px(kLabelHeight));
  }
  treeviewButton_->setChecked(TreeViewFromSetting(FromQString(ReadSetting("Display", "TreeView"))) == 1);
  leftCodeHidden_ = CodeHiddenFromSetting(FromQString(ReadSetting("Display", "LeftCodeWindow")));
  rightCodeHidden_ = CodeHiddenFromSetting(FromQString(ReadSetting("Display", "RightCodeWindow")));
  Form_Resize();
  listView1_->setFocus();  // function keys work from the first moment
  SetTutorialAvailable(library_ && library_->IsModuleInstalled(u"KORVA"));
}

void FSMMainForm::Form_Unload() {
  // Settings are written when they change; only the position is left.
  SavePosition();
}

void FSMMainForm::RestorePosition() {
  if (!library_) return;
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const double t = TwipsPerPixel();
  const QSize size = screen->size();
  const auto placement = applib::RestorePosition(*library_, kPositionKey, std::llround(size.width() * t),
                                                 std::llround(size.height() * t));
  if (!placement) return;
  setGeometry(static_cast<int>(std::llround(placement->left / t)), static_cast<int>(std::llround(placement->top / t)),
              static_cast<int>(std::llround(placement->width / t)),
              static_cast<int>(std::llround(placement->height / t)));
  if (placement->state == applib::kWindowMaximised) setWindowState(Qt::WindowMaximized);
  if (placement->state == applib::kWindowMinimised) setWindowState(Qt::WindowMinimized);
}

void FSMMainForm::SavePosition() {
  if (!library_) return;
  const double t = TwipsPerPixel();
  const QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
  applib::Placement placement;
  placement.state = isMaximized()   ? applib::kWindowMaximised
                    : isMinimized() ? applib::kWindowMinimised
                                    : applib::kWindowNormal;
  placement.left = std::llround(normal.x() * t);
  placement.top = std::llround(normal.y() * t);
  placement.width = std::llround(normal.width() * t);
  placement.height = std::llround(normal.height() * t);
  applib::SavePosition(*library_, kPositionKey, placement);
}

void FSMMainForm::closeEvent(QCloseEvent* event) {
  Form_Unload();
  event->accept();
}

void FSMMainForm::MenuFileExit_Click() { close(); }

void FSMMainForm::SetTutorialAvailable(bool available) {
  menuHelpBlank1_->setVisible(available);
  menuHelpTutorial_->setVisible(available);
}

QString FSMMainForm::ReadSetting(const QString& section, const QString& key) const {
  return ToQString(applib::IniRead(FromQString(settingsDirectory_), kSettingsFile, FromQString(section),
                                   FromQString(key)));
}

void FSMMainForm::WriteSetting(const QString& section, const QString& key, const QString& value) {
  applib::IniWrite(FromQString(settingsDirectory_), kSettingsFile, FromQString(section), FromQString(key),
                   FromQString(value));
}

// --- Loading ---

bool FSMMainForm::LoadFile(const QString& path) {
  mission::Mission fresh;
  statusmsg(QStringLiteral("Loading mission"));
  const mission::LoadResult result = mission::LoadFile(applib::ToFsPath(FromQString(path)), fresh);
  statusmsg({});
  if (!result.ok) {
    dialogs_->Warning(this, ToQString(kDesignCaption),
                      QStringLiteral("The mission file %1 could not be read:\n%2")
                          .arg(QDir::toNativeSeparators(path), QString::fromStdString(result.error)));
    return false;
  }
  treeModel_->SetMission(nullptr);
  links_.reset();
  mission_ = std::move(fresh);
  links_.emplace(mission_.Tree());
  treeModel_->SetMission(&mission_);
  setWindowTitle(ToQString(MissionCaption(FromQString(path))));
  SwitchMode(views::kModeGeneral, true);
  return true;
}

void FSMMainForm::MenuFileOpenFS1_Click() { OpenMission(false); }
void FSMMainForm::MenuFileOpenFS2_Click() { OpenMission(true); }

void FSMMainForm::OpenMission(bool fs2) {
  const QString key = fs2 ? QStringLiteral("LastOpenDirFS2") : QStringLiteral("LastOpenDirFS1");
  const QString file =
      dialogs_->OpenFile(this, ReadSetting("Dirs", key), ToQString(fs2 ? kFilterFS2 : kFilterFS1));
  if (file.isEmpty()) return;  // cancelled
  mission::Text directory, name;
  applib::SplitPath(FromQString(file), directory, name);
  WriteSetting("Dirs", key, ToQString(directory));
  if (applib::FileExists(FromQString(file))) LoadFile(file);
}

// --- Mode switch and list ---

void FSMMainForm::MenuViewMode_Click(int index) { SwitchMode(index, false); }

void FSMMainForm::SwitchMode(int index, bool afterLoad) {
  if (!views::IsMode(index)) return;
  if (index == currentMode_ && !afterLoad) return;
  currentMode_ = index;

  MenuViewTreeViewCA_Click();
  if (links_) {
    if (const auto node = links_->ModeNode(index)) SelectTreeNode(*node, false);
  }
  for (int i = 1; i <= kModeCount; ++i) {
    const auto idx = static_cast<std::size_t>(i);
    menuViewMode_[idx]->setChecked(i == index);
    iconMode_[idx]->setFrameStyle(i == index ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
  }

  views::ListData list;
  list.columns = listModel_->List().columns;  // kept when the filler adds none
  listModel_->SetList({});
  barTopText_->setText(ToQString(views::ModeOf(index).title));
  repaint();

  views::FillMode(index, mission_, list);
  hasFormulas_ = views::HasFormulas(list);
  listModel_->SetList(std::move(list));
  SetColumnWidths();

  richTextBox1_->clear();
  richTextBox2_->clear();
  if (sortModel_->rowCount() > 0) {
    SelectListRow(1);
    ListView1_ItemClick(1);
  }
  Form_Resize();
}

void FSMMainForm::SetColumnWidths() {
  const auto& columns = listModel_->List().columns;
  for (std::size_t c = 0; c < columns.size(); ++c)
    listView1_->header()->resizeSection(static_cast<int>(c), Px(columns[c].width));
}

void FSMMainForm::SelectListRow(int position) {
  const QModelIndex index = sortModel_->index(position - 1, 0);
  if (!index.isValid()) return;
  selectingRow_ = true;
  listView1_->selectionModel()->setCurrentIndex(
      index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  selectingRow_ = false;
  listView1_->scrollTo(index);
}

void FSMMainForm::ListView1_ColumnClick(int column) {
  // The list stays sorted by this column position, ascending, across later
  // fills and mode switches.
  listView1_->header()->setSortIndicatorShown(true);
  listView1_->header()->setSortIndicator(column, Qt::AscendingOrder);
  sortModel_->sort(column, Qt::AscendingOrder);
}

void FSMMainForm::statusmsg(const QString& x) {
  if (mission::IsGiven(FromQString(x))) {
    statusPanel_->setText(x);
    setCursor(Qt::WaitCursor);
  } else {
    statusPanel_->setText(QStringLiteral("Ready"));
    unsetCursor();
  }
  statusPanel_->repaint();
}

// --- Formula display and tree links ---

void FSMMainForm::SelectTreeNode(std::uint32_t node, bool expand) {
  const QModelIndex index = treeModel_->IndexOfNode(node);
  if (!index.isValid()) return;
  treeView1_->setCurrentIndex(index);
  treeView1_->scrollTo(index);  // expands the node's parents as well
  if (expand) treeView1_->expand(index);
}

void FSMMainForm::ListView1_ItemClick(int position) {
  if (mission_.Tree().Empty()) return;
  const QModelIndex shown = sortModel_->index(position - 1, 0);
  if (!shown.isValid()) return;
  if (const QModelIndex selected = treeView1_->currentIndex(); selected.isValid()) treeView1_->collapse(selected);
  if (links_) {
    if (const auto node = links_->RowNode(currentMode_, static_cast<std::size_t>(position))) SelectTreeNode(*node, true);
  }
  const views::Row& row = listModel_->List().rows[static_cast<std::size_t>(sortModel_->mapToSource(shown).row())];
  if (!views::HasFormulaReference(row.tag)) return;

  richTextBox1_->clear();
  richTextBox2_->clear();
  statusmsg(QStringLiteral("Parsing SEXP code"));
  ShowFormula(views::ReadRowFormula(mission_.Sections(), row));
  statusmsg({});
}

void FSMMainForm::ShowFormula(const views::FormulaTexts& texts) {
  richTextBox2_->setPlainText(DocumentText(CodeWindowText(texts.parsed)));
  QTextCursor all(richTextBox2_->document());
  // All colouring in one edit block, so the document is laid out once.
  all.beginEditBlock();
  all.select(QTextCursor::Document);
  QTextCharFormat black;
  black.setForeground(FromBgr(views::kColorBlack));
  all.mergeCharFormat(black);
  for (const views::ColorWord& word : views::kColorWords) colorize(richTextBox2_, word.text, word.color);
  all.endEditBlock();
  richTextBox2_->moveCursor(QTextCursor::Start);

  richTextBox1_->setPlainText(DocumentText(CodeWindowText(texts.sexp)));
  richTextBox1_->moveCursor(QTextCursor::Start);
}

void FSMMainForm::colorize(QTextEdit* rtf, mission::TextView x, std::uint32_t color) {
  // The document keeps a line break as one character; search for it so.
  mission::Text find(x);
  mission::ReplaceFirst(find, u"\r\n", u"\n");
  const mission::Text text = FromQString(rtf->document()->toPlainText());
  QTextCharFormat format;
  format.setForeground(FromBgr(color));
  QTextCursor cursor(rtf->document());
  // One edit block: the document is laid out once at its end instead of
  // after every span, which on a formula with many thousand matches would
  // take minutes.
  cursor.beginEditBlock();
  for (const std::size_t position : views::FindAll(text, find)) {
    cursor.setPosition(static_cast<int>(position));
    cursor.setPosition(static_cast<int>(position + find.size()), QTextCursor::KeepAnchor);
    cursor.mergeCharFormat(format);
  }
  cursor.endEditBlock();
  QTextCursor end = rtf->textCursor();
  end.clearSelection();
  rtf->setTextCursor(end);
}

void FSMMainForm::TreeView1_NodeClick(const QModelIndex& node) {
  if (!node.isValid()) return;
  treeView1_->expand(node);
  const auto target = views::NodeClickTarget(FromQString(node.data(kTagRole).toString()));
  if (!target) return;
  MenuViewMode_Click(target->mode);
  if (target->row >= 1 && target->row <= sortModel_->rowCount()) {
    SelectListRow(target->row);
    ListView1_ItemClick(target->row);
  }
}

void FSMMainForm::MenuViewTreeViewCA_Click() { treeView1_->collapseAll(); }

// --- View menu and toolbar ---

void FSMMainForm::MenuViewTreeView_Click() {
  treeviewButton_->setChecked(!treeviewButton_->isChecked());
  Form_Resize();
}

void FSMMainForm::MenuViewCodeL_Click() {
  WriteSetting("Display", "LeftCodeWindow", leftCodeHidden_ ? "1" : "0");
  leftCodeHidden_ = !leftCodeHidden_;
  Form_Resize();
}

void FSMMainForm::MenuViewCodeR_Click() {
  WriteSetting("Display", "RightCodeWindow", rightCodeHidden_ ? "1" : "0");
  rightCodeHidden_ = !rightCodeHidden_;
  Form_Resize();
}

void FSMMainForm::Toolbar2_ButtonClick(const QString& key) {
  if (key == u"FileOpenFS1") {
    MenuFileOpenFS1_Click();
  } else if (key == u"FileOpenFS2") {
    MenuFileOpenFS2_Click();
  } else if (key == u"treeview") {
    Form_Resize();  // the button has already toggled its own value
  }
}

// --- Icon bar ---

void FSMMainForm::IconMode_Click(int index) {
  if (index < 1 || index > kModeCount) return;
  if (!menuViewMode_[static_cast<std::size_t>(index)]->isEnabled()) return;
  MenuViewMode_Click(index);
  ResetButtons();
}

void FSMMainForm::IconMode_MouseMove(int index) {
  const QLabel* icon = iconMode_[static_cast<std::size_t>(index)];
  const double t = TwipsPerPixel();
  const HoverFrame f = PlaceHoverFrame(icon->x() * t, icon->y() * t, icon->width() * t, icon->height() * t, t, t);
  const auto place = [this](QFrame* frame, const Line& line) {
    const int x1 = Px(line.x1), y1 = Px(line.y1), x2 = Px(line.x2), y2 = Px(line.y2);
    frame->setGeometry(x1, y1, x2 - x1 + 1, y2 - y1 + 1);
    frame->show();
    frame->raise();
  };
  place(iconO0_[0], f.left);
  place(iconO0_[1], f.top);
  place(iconO0_[2], f.right);
  place(iconO0_[3], f.bottom);
}

void FSMMainForm::BarLeft_MouseMove() { ResetButtons(); }

void FSMMainForm::ResetButtons() {
  for (QFrame* line : iconO0_) line->hide();
}

void FSMMainForm::BarLeftScroll_Click(int index) {
  firstIconIndex_ += index == 1 ? -1 : 1;
  Form_Resize();
}

bool FSMMainForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize && watched == client_) {
    toolbar2_->setGeometry(0, 0, client_->width(), Px(kToolbar2Height));
    toolbar1_->setGeometry(0, Px(kToolbar2Height), client_->width(), Px(kToolbar1Height));
    Form_Resize();
    return false;
  }
  if (event->type() == QEvent::MouseMove) {
    for (int i = 1; i <= kModeCount; ++i) {
      if (watched == iconMode_[static_cast<std::size_t>(i)]) {
        IconMode_MouseMove(i);
        return true;  // not on to the strip, whose own move hides the frame
      }
    }
    if (watched == barLeft_)
      BarLeft_MouseMove();
    else if (watched != client_)
      ResetButtons();
    return false;
  }
  if (event->type() == QEvent::MouseButtonRelease) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    for (int i = 1; i <= kModeCount; ++i) {
      if (watched == iconMode_[static_cast<std::size_t>(i)] && mouse->button() == Qt::LeftButton) {
        IconMode_Click(i);
        return true;
      }
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

// --- Layout ---

void FSMMainForm::Form_Resize() {
  if (!client_ || !toolbar2_ || !barLeft_) return;  // still being built
  const double t = TwipsPerPixel();
  LayoutInput in;
  in.outerWidth = client_->width() * t + kOuterExtraWidth;
  in.outerHeight = client_->height() * t + kOuterExtraHeight;
  in.treeButtonPressed = treeviewButton_->isChecked();
  in.leftCodeHidden = leftCodeHidden_;
  in.rightCodeHidden = rightCodeHidden_;
  in.hasFormulas = hasFormulas_;
  in.firstIconIndex = firstIconIndex_;
  in.missionLoaded = !mission_.Sections().Slot(mission::kSlotMissionInfo).Empty();
  const LayoutResult result = ui::Form_Resize(in, panes_);
  panes_ = result.panes;
  if (result.treeSetting) WriteSetting("Display", "TreeView", *result.treeSetting ? "1" : "0");
  ApplyPanes(result.clearTitle);
}

void FSMMainForm::ApplyPanes(bool clearTitle) {
  const Panes& p = panes_;
  const auto place = [this](QWidget* w, const Box& b) {
    w->setGeometry(Px(b.left), Px(b.top), Px(b.width), Px(b.height));
    w->setVisible(b.visible);
  };
  place(barLeft_, p.barLeft);
  place(barTop_, p.barTop);
  place(treeView1_, p.tree);
  place(listView1_, p.list);
  place(richTextBox1_, p.codeLeft);
  place(richTextBox2_, p.codeRight);
  menuViewTreeView_->setChecked(p.treeChecked);

  for (int i = 1; i <= kModeCount; ++i) {
    const auto idx = static_cast<std::size_t>(i);
    iconMode_[idx]->move(Px(kIconLeft), Px(p.iconTop[idx]));
    labelMode_[idx]->move(0, Px(p.iconTop[idx] + kCaptionOffset));
    iconMode_[idx]->setVisible(p.iconVisible[idx]);
    labelMode_[idx]->setVisible(p.iconVisible[idx]);
    menuViewMode_[idx]->setEnabled(p.modesEnabled);
  }
  barLeftScroll_[1]->setVisible(p.upVisible);
  barLeftScroll_[2]->setVisible(p.downVisible);
  barLeftScroll_[2]->move(0, Px(p.downTop));
  for (QPushButton* b : {barLeftScroll_[1], barLeftScroll_[2]}) b->raise();

  // Without a mission the list leaves report view: no headers, and only the
  // rows' own texts (the first column) are shown.
  listView1_->setHeaderHidden(!p.reportView);
  for (int c = 1; c < listModel_->columnCount(); ++c) listView1_->setColumnHidden(c, !p.reportView);
  if (clearTitle) barTopText_->clear();

  menuViewCodeL_->setChecked(p.codeLeftChecked);
  menuViewCodeR_->setChecked(p.codeRightChecked);
  menuViewCodeL_->setEnabled(p.codeEntriesEnabled);
  menuViewCodeR_->setEnabled(p.codeEntriesEnabled);
  menuViewTreeViewCA_->setEnabled(p.collapseEnabled);
}

}  // namespace ui
