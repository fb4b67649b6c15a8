#include "ui/window/mainform.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTextEdit>
#include <QTreeView>
#include <QtConcurrent/QtConcurrentRun>

#include "ui/campaign/shown.h"
#include "ui/code/codewindows.h"
#include "ui/common/fonts.h"
#include "ui/common/menus.h"
#include "ui/common/qtext.h"
#include "ui/common/units.h"
#include "ui/flow/eventflowpane.h"
#include "ui/follow/followcontroller.h"
#include "ui/follow/referencescontroller.h"
#include "ui/list/clipboard.h"
#include "ui/list/findbar.h"
#include "ui/list/listmodel.h"
#include "ui/list/missionlist.h"
#include "ui/list/shownrows.h"
#include "ui/load/missionopener.h"
#include "ui/outline/outlineview.h"
#include "ui/problems/problems.h"
#include "ui/rules/rules.h"
#include "ui/window/bars.h"
#include "ui/window/iconbar.h"
#include "ui/window/toolbar.h"
#include "ui/window/windowplacement.h"

// The pictures live in the static ui library; the linker keeps them only when
// asked for by name.
static void InitIconResources() { Q_INIT_RESOURCE(icons); }

namespace ui {

namespace {

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
constexpr int kStatusHeight = 255;

}  // namespace

FSMMainForm::FSMMainForm(const QString& settingsDirectory, Dialogs* dialogs, QWidget* parent)
    : FSMMainForm(nullptr, FromQString(settingsDirectory), dialogs, parent) {}

FSMMainForm::FSMMainForm(const applib::Library& library, Dialogs* dialogs, QWidget* parent)
    : FSMMainForm(&library, library.pfad_main, dialogs, parent) {}

FSMMainForm::FSMMainForm(const applib::Library* library, mission::Text settingsDirectory, Dialogs* dialogs,
                         QWidget* parent)
    : QMainWindow(parent),
      library_(library),
      settings_(std::move(settingsDirectory)),
      dialogs_(dialogs ? dialogs : &platformDialogs_) {
  InitIconResources();
  setObjectName(QStringLiteral("FSMMainForm"));
  setWindowTitle(ToQString(kDesignCaption));
  setWindowIcon(QIcon(QStringLiteral(":/icons/torvek32.png")));
  CreateMenus();
  CreatePanes();
  CreateToolbar();
  CreateIconBar();
  follow_ = new FollowController({this, client_, listView1_, codeWindows_, &settings_}, [this] { return currentMode_; },
                                 [this](int m, int r) { ShowEntry(m, r); }, [this] { Form_Resize(); },
                                 [this](const QString& path) { return opener_->Open(path); });
  // Enter, or the click the platform's style makes activating (a double
  // click by default): once each, so a large mission is not read twice.
  connect(listView1_, &QAbstractItemView::activated, this, &FSMMainForm::OpenCampaignMission);
  campaignRead_ = new QFutureWatcher<CampaignMissionsRead>(this);
  connect(campaignRead_, &QFutureWatcherBase::finished, this, &FSMMainForm::CampaignMissionsArrived);
  connect(follow_, &FollowController::missionPlaceChosen, this, [this](int entry, int mode, int row) {
    OpenCampaignMissionAt(static_cast<std::size_t>(std::max(entry, 0)),
                          views::Location{mode, static_cast<std::size_t>(std::max(row, 0)), 0, 0, 0});
  });
  connect(problems_, &ProblemsPane::problemActivated, follow_, &FollowController::Jump);
  connect(problems_, &ProblemsPane::problemInFileActivated, this, [this](const QString& path, int mode, int row) {
    follow_->OpenFile(path, views::Location{mode, static_cast<std::size_t>(std::max(row, 0)), 0, 0, 0});
  });
  connect(flow_, &EventFlowPane::entryChosen, follow_, &FollowController::Jump);
  // The picture follows the list's selection, whoever makes it.
  connect(listView1_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) { flow_->EntrySelected(currentMode_, ListRowOf(current) + 1); });
  references_ = new ReferencesController(this, menuEditFind_, listView1_, listClipboard_, codeWindows_,
                                         [this] { return currentMode_; }, [this](int m, int r) { follow_->Jump(m, r); });
  opener_ = new MissionOpener(
      {.window = this, .list = listView1_, .tree = treeView1_, .dialogs = dialogs_,
       .show = [this](const MissionRead& read, const QString& path) { ShowMission(read, path); },
       .indexed =
           [this](const MissionIndexes& built) {
             problems_->TakeCheck(built.check);
             references_->IndexBuilt(built.check->mission, built.references);
             if (built.lists && built.check->mission == mission_) lists_.Adopt(*built.lists);
             follow_->NamesGathered(built.check->mission.get(), built.names);
           },
       .status = [this](const QString& s) { statusmsg(s); }, .currentMode = [this] { return currentMode_; },
       .shownMission = [this]() -> auto& { return *mission_; },
       .showEntry = [this](int m, int r) { ShowEntry(m, r); }},
      settings_, menuFile_, menuFile_->findChild<QAction*>("MenuFileBlank0"));
  GiveAccessKeys(menuBar());  // once every part has added its entries
  resize(Px(kClientWidth), Px(kClientHeight - kStatusHeight) + menuBar()->sizeHint().height() +
                               statusBar()->sizeHint().height());
  Form_Load();
}

FSMMainForm::~FSMMainForm() = default;

int FSMMainForm::Px(double twips) const { return TwipsToPixels(twips, logicalDpiX()); }

int FSMMainForm::FirstIconIndex() const { return iconBar_->FirstIconIndex(); }

// --- Building the window ---

void FSMMainForm::CreateMenus() {
  // An entry that runs `slot` when chosen.
  const auto command = [this](QMenu* menu, const char* name, const QString& caption, void (FSMMainForm::*slot)(),
                              const QKeySequence& key = {}) {
    QAction* action = AddEntry(menu, name, caption, key);
    connect(action, &QAction::triggered, this, slot);
    return action;
  };
  QMenu* file = menuFile_ = AddMenu(menuBar(), "MenuFile", QStringLiteral("&File"));
  command(file, "MenuFileOpenFS1", QStringLiteral("Open FreeSpace &1 mission"), &FSMMainForm::MenuFileOpenFS1_Click,
          QKeySequence(Qt::CTRL | Qt::Key_F1));
  command(file, "MenuFileOpenFS2", QStringLiteral("Open FreeSpace &2 mission"), &FSMMainForm::MenuFileOpenFS2_Click,
          QKeySequence(Qt::CTRL | Qt::Key_F2));
  QAction* openCampaign = AddEntry(file, "MenuFileOpenCampaign", QStringLiteral("Open &Campaign..."),
                                   QKeySequence(Qt::CTRL | Qt::Key_F3));
  connect(openCampaign, &QAction::triggered, this, [this] { opener_->OpenWithDialog(MissionKind::kCampaign); });
  AddEntry(file, "MenuFileBlank0", QStringLiteral("-"));
  command(file, "MenuFileExit", QStringLiteral("E&xit"), &FSMMainForm::MenuFileExit_Click);

  QMenu* edit = AddMenu(menuBar(), "MenuEdit", QStringLiteral("&Edit"));
  menuEditFind_ = AddEntry(edit, "MenuEditFind", QStringLiteral("Find..."), QKeySequence(Qt::CTRL | Qt::Key_F));

  QMenu* view = AddMenu(menuBar(), "MenuView", QStringLiteral("&View"));
  for (const views::ModeInfo& mode : views::Modes()) {
    // The views after the eight follow a separator, on Shift+F2 and on.
    if (mode.mode == views::kStoreModeCount + 1) AddEntry(view, "MenuViewBlankModes", QStringLiteral("-"));
    const QByteArray name = "MenuViewMode" + QByteArray::number(mode.mode);
    const QKeySequence key = views::IsStoreMode(mode.mode)
                                 ? QKeySequence(Qt::Key_F1 + mode.mode)
                                 : QKeySequence(Qt::SHIFT | (Qt::Key_F1 + mode.mode - views::kStoreModeCount));
    QAction* action = AddEntry(view, name.constData(), ToQString(mode.menuCaption), key);
    action->setCheckable(true);
    connect(action, &QAction::triggered, this, [this, index = mode.mode] { MenuViewMode_Click(index); });
    menuViewMode_[static_cast<std::size_t>(mode.mode)] = action;
  }
  // Shown while a campaign is.
  menuViewCampaign_ = AddEntry(view, "MenuViewMode14", QStringLiteral("Campaign"), QKeySequence(Qt::SHIFT | Qt::Key_F7));
  menuViewCampaign_->setCheckable(true);
  menuViewCampaign_->setVisible(false);
  connect(menuViewCampaign_, &QAction::triggered, this, [this] { MenuViewMode_Click(views::kModeCampaign); });
  AddEntry(view, "MenuViewBlank0", QStringLiteral("-"));
  menuViewTreeView_ =
      command(view, "MenuViewTreeView", QStringLiteral("Show &TreeView"), &FSMMainForm::MenuViewTreeView_Click);
  menuViewCodeL_ =
      command(view, "MenuViewCodeL", QStringLiteral("Show &SEXP code window"), &FSMMainForm::MenuViewCodeL_Click);
  menuViewCodeR_ =
      command(view, "MenuViewCodeR", QStringLiteral("Show &Parsed code window"), &FSMMainForm::MenuViewCodeR_Click);
  for (QAction* a : {menuViewTreeView_, menuViewCodeL_, menuViewCodeR_}) a->setCheckable(true);
  AddEntry(view, "MenuViewBlank1", QStringLiteral("-"));
  menuViewTreeViewCA_ = command(view, "MenuViewTreeViewCA", QStringLiteral("Collapse All in TreeView"),
                                &FSMMainForm::MenuViewTreeViewCA_Click, QKeySequence(Qt::CTRL | Qt::Key_C));
  // The entry shows Ctrl+C, but the key itself belongs to CopyShortcut, which
  // collapses the tree only when there is nothing to copy.
  menuViewTreeViewCA_->setShortcutContext(Qt::WidgetShortcut);
  AddEntry(view, "MenuViewBlank2", QStringLiteral("-"));
  problems_ = new ProblemsPane(this, view);  // every load checks the mission
  flow_ = new EventFlowPane(this, view, settings_, [this](int mode, int row) { return FormulaText(mode, row); });

  QMenu* tools = AddMenu(menuBar(), "MenuTools", QStringLiteral("&Tools"));
  command(tools, "MenuToolsOptions", QStringLiteral("&Options..."), &FSMMainForm::MenuToolsOptions_Click);

  // The Help menu's commands are carried out by whoever listens.
  QMenu* help = AddMenu(menuBar(), "MenuHelp", QStringLiteral("&Help"));
  menuHelpTutorial_ = command(help, "MenuHelpTutorial", QStringLiteral("KORVALINE Quick Start Tutorial"),
                              &FSMMainForm::helpTutorialRequested, QKeySequence(Qt::Key_F1));
  menuHelpBlank1_ = AddEntry(help, "MenuHelpBlank1", QStringLiteral("-"));
  command(help, "MenuHelpQXVC", QStringLiteral("Check for new version"), &FSMMainForm::helpQXVCRequested);
  command(help, "MenuHelpAbout", QStringLiteral("About"), &FSMMainForm::helpAboutRequested);
}

void FSMMainForm::CreateToolbar() {
  toolbar2_ = new Toolbar(client_);
  toolbar2_->FitWidth(Px(kClientWidth));
  connect(toolbar2_, &Toolbar::buttonClicked, this, &FSMMainForm::Toolbar2_ButtonClick);
}

void FSMMainForm::CreatePanes() {
  client_ = new QWidget(this);
  client_->setObjectName(QStringLiteral("client"));
  client_->installEventFilter(this);
  setCentralWidget(client_);
  barTop_ = new TitleBar(client_);
  CreateTree();
  CreateList();
  codeWindows_ = new CodeWindows(client_, settings_, menuViewCodeR_, statusBar());
  // The find bar's text is marked in the code windows too.
  connect(findBar_->Field(), &QLineEdit::textChanged, codeWindows_, &CodeWindows::MarkFound);
  statusPanel_ = new StatusPanel(statusBar());
  statusBar()->addPermanentWidget(findBar_->RowCountLabel());
  auto* copy = new CopyShortcut(this, codeWindows_->Sexp(), codeWindows_->Parsed(), listClipboard_, listView1_);
  connect(copy, &CopyShortcut::unclaimed, this, [this] {
    if (menuViewTreeViewCA_->isEnabled()) MenuViewTreeViewCA_Click();
  });
}

void FSMMainForm::CreateTree() {
  treeView1_ = new OutlineView(client_);
  treeView1_->SetMission(mission_.get());
  connect(treeView1_, &QTreeView::clicked, this, &FSMMainForm::TreeView1_NodeClick);
}

void FSMMainForm::CreateList() {
  listView1_ = new MissionList(client_);
  connect(listView1_->header(), &QHeaderView::sectionClicked, this, &FSMMainForm::ListView1_ColumnClick);
  connect(listView1_, &MissionList::rowChosen, this, &FSMMainForm::ListView1_ItemClick);
  listClipboard_ = new ListClipboard(listView1_);
  findBar_ = new FindBar(listView1_, listView1_->Shown(), client_);
  connect(menuEditFind_, &QAction::triggered, findBar_, &FindBar::Open);
  connect(findBar_, &FindBar::openedOrClosed, this, &FSMMainForm::Form_Resize);
}

void FSMMainForm::CreateIconBar() {
  iconBar_ = new IconBar(client_);
  iconBar_->setGeometry(Px(60), Px(540), Px(1215), Px(6000));
  connect(iconBar_, &IconBar::modeChosen, this, &FSMMainForm::MenuViewMode_Click);
  connect(iconBar_, &IconBar::scrolled, this, &FSMMainForm::Form_Resize);
  // Mouse moves over the other panes and the toolbar hide the hover frame.
  for (QWidget* w : {treeView1_->viewport(), listView1_->viewport(), codeWindows_->Sexp()->viewport(),
                     codeWindows_->Parsed()->viewport(), static_cast<QWidget*>(toolbar2_)})
    iconBar_->HideFrameOnMouseMoveOver(w);
  for (QAction* action : toolbar2_->actions()) {
    if (QWidget* w = toolbar2_->widgetForAction(action)) iconBar_->HideFrameOnMouseMoveOver(w);
  }
}

// --- Life cycle ---

void FSMMainForm::Form_Load() {
  if (library_ && !RestorePlacement(*this, *library_, kPositionKey)) PlaceFirstWindow(*this);
  toolbar2_->SetTreeViewPressed(settings_.TreeViewShown());
  leftCodeHidden_ = settings_.LeftCodeHidden();
  rightCodeHidden_ = settings_.RightCodeHidden();
  Form_Resize();
  listView1_->setFocus();  // function keys work from the first moment
  SetTutorialAvailable(library_ && library_->IsModuleInstalled(u"KORVA"));
}

void FSMMainForm::Form_Unload() {
  // Settings are written when they change; only the position is left.
  if (library_) SavePlacement(*this, *library_, kPositionKey);
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

// --- Loading ---

bool FSMMainForm::LoadFile(const QString& path) { return opener_->Open(path); }

void FSMMainForm::ShowMission(const MissionRead& loaded, const QString& path) {
  // The same file read again keeps the rows its views were left at; another
  // mission starts afresh in every view.
  const bool sameFile = !shownPath_.isEmpty() && path == shownPath_;
  if (sameFile) {
    LeaveView();
  } else {
    places_.Forget();
  }
  shownPath_ = path;
  treeView1_->SetMission(nullptr);
  listView1_->SetMission(nullptr);
  mission_ = loaded.mission;
  links_ = loaded.links;
  lists_ = views::ModeLists(mission_.get());
  if (loaded.lists) lists_.Adopt(*loaded.lists);
  campaign_ = views::LooksLikeCampaign(*mission_) ? MakeShownCampaign(mission_, path) : nullptr;
  menuViewCampaign_->setVisible(campaign_ != nullptr);
  if (campaign_) ReadCampaignMissions();
  treeView1_->SetMission(mission_.get());
  listView1_->SetMission(mission_.get());
  // A campaign holds no mission's sections, and needs no hint saying so.
  listView1_->SetHint(campaign_ ? QString()
                                : ToQString(ListHint(true, mission::HoldsSections(*mission_),
                                                     FromQString(QFileInfo(path).fileName()))));
  problems_->Check(mission_, campaign_                ? ProblemsPane::Source::kCampaignCheckFollows
                             : loaded.indexesFollow ? ProblemsPane::Source::kMissionCheckFollows
                                                    : ProblemsPane::Source::kCheckHere);
  references_->MissionLoaded(mission_, loaded.indexesFollow, sameFile);
  follow_->MissionLoaded(mission_, path);
  if (campaign_) {
    follow_->SetLinkFinder([campaign = campaign_](mission::TextView sexp, mission::TextView parsed) {
      return campaign->Links(sexp, parsed);
    });
  }
  flow_->MissionShown(mission_, sameFile);
  setWindowTitle(ToQString(MissionCaption(FromQString(path))));
  // The view shown stays when this mission or campaign has it, with rows.
  const bool kept = ModeShown(currentMode_) && !ListOf(currentMode_)->rows.empty();
  SwitchMode(kept ? currentMode_ : views::kModeGeneral, true);
  follow_->MissionShown();
}

bool FSMMainForm::ModeShown(int mode) const { return campaign_ ? campaign_->HasMode(mode) : views::IsMode(mode); }

std::shared_ptr<const views::ListData> FSMMainForm::ListOf(int mode) {
  return campaign_ ? campaign_->List(mode) : lists_.List(mode);
}

void FSMMainForm::ReadCampaignMissions() {
  campaignRead_->setFuture(
      QtConcurrent::run(ui::ReadCampaignMissions, std::shared_ptr<const ShownCampaign>(campaign_)));
}

void FSMMainForm::CampaignMissionsArrived() {
  // What was read for a campaign no longer shown is of no use.
  if (!campaign_ || campaignRead_->isCanceled() || campaignRead_->future().resultCount() == 0) return;
  CampaignMissionsRead read = campaignRead_->result();
  if (!read.check || read.check->mission != campaign_->file) return;
  problems_->TakeCheck(read.check);
  campaign_->names = std::move(read.names);
  // The branch shown now links the goals and events just read.
  follow_->SetLinkFinder([campaign = campaign_](mission::TextView sexp, mission::TextView parsed) {
    return campaign->Links(sexp, parsed);
  });
  campaign_->TakeTitles(read.titles);
  if (currentMode_ != views::kModeCampaign) return;
  const int row = ListRowOf(listView1_->currentIndex());
  listView1_->SetList(campaign_->list, logicalDpiX());
  const QModelIndex shown = ShownIndexOfListRow(listView1_->model(), row);
  if (shown.isValid()) listView1_->SelectRow(shown);
}

void FSMMainForm::OpenCampaignMission(const QModelIndex& shown) {
  if (!campaign_ || currentMode_ != views::kModeCampaign) return;
  const int row = ListRowOf(shown);
  if (row >= 0) OpenCampaignMissionAt(static_cast<std::size_t>(row) + 1, std::nullopt);
}

void FSMMainForm::OpenCampaignMissionAt(std::size_t entry, std::optional<views::Location> to) {
  if (!campaign_ || entry < 1 || entry > campaign_->missionPaths.size()) return;
  const QString path = campaign_->missionPaths[entry - 1];
  if (path.isEmpty()) {
    const QString name = ToQString(campaign_->campaign.missions[entry - 1].file);
    statusBar()->showMessage(tr("%1 is not in the campaign's folder").arg(name), 5000);
    return;
  }
  follow_->OpenFile(path, to);
}

void FSMMainForm::MenuFileOpenFS1_Click() { opener_->OpenWithDialog(MissionKind::kFS1); }
void FSMMainForm::MenuFileOpenFS2_Click() { opener_->OpenWithDialog(MissionKind::kFS2); }

// --- Mode switch and list ---

void FSMMainForm::MenuViewMode_Click(int index) { SwitchMode(index, false); }

void FSMMainForm::SwitchMode(int index, bool afterLoad) {
  if (!ModeShown(index)) return;
  if (index == currentMode_ && !afterLoad) return;
  if (!afterLoad) LeaveView();  // after a load the list still shows the mission before
  currentMode_ = index;

  MenuViewTreeViewCA_Click();
  if (links_) {
    if (const auto node = links_->ModeNode(index)) treeView1_->SelectNode(*node, false);
  }
  for (int i = 1; i <= views::kModeCount; ++i) menuViewMode_[static_cast<std::size_t>(i)]->setChecked(i == index);
  menuViewCampaign_->setChecked(index == views::kModeCampaign);
  iconBar_->SetCurrentMode(index);

  const std::vector<views::Column> columns = listView1_->List().columns;  // kept when the view sets none
  listView1_->SetList(nullptr, logicalDpiX());
  listView1_->SetSort(sorts_.Of(index));  // before the rows come, which are then sorted once
  barTop_->SetTitle(index == views::kModeCampaign ? QStringLiteral("Campaign") : ToQString(views::ModeOf(index).title));
  repaint();

  std::shared_ptr<const views::ListData> list = ListOf(index);
  if (list->columns.empty()) {
    views::ListData kept = *list;
    kept.columns = columns;
    list = std::make_shared<const views::ListData>(std::move(kept));
  }
  hasFormulas_ = index == views::kModeCampaign || views::HasFormulas(*list);
  listView1_->SetList(std::move(list), logicalDpiX());

  codeWindows_->Clear();
  // The row the view was left at, else the first row shown.
  QModelIndex row = listView1_->model()->index(0, 0);
  if (const auto back = places_.Return(index, listView1_->List())) {
    if (const QModelIndex there = ShownIndexOfListRow(listView1_->model(), static_cast<int>(*back)); there.isValid())
      row = there;
  }
  if (row.isValid()) {
    listView1_->SelectRow(row);
    ListView1_ItemClick(row);
  }
  Form_Resize();
  // The layout may have made room for the code windows under the list.
  if (row.isValid()) listView1_->scrollTo(listView1_->currentIndex());
}

void FSMMainForm::LeaveView() {
  const int row = ListRowOf(listView1_->currentIndex());
  const std::vector<views::Row>& rows = listView1_->List().rows;
  if (!views::IsMode(currentMode_) || row < 0 || static_cast<std::size_t>(row) >= rows.size()) return;
  const std::vector<mission::Text>& cells = rows[static_cast<std::size_t>(row)].cells;
  places_.Leave(currentMode_, static_cast<std::size_t>(row), cells.empty() ? mission::TextView() : mission::TextView(cells.front()));
}

void FSMMainForm::ListView1_ColumnClick(int column) {
  // Each view keeps its own sort, also for the missions opened later.
  listView1_->SetSort(sorts_.Click(currentMode_, column));
}

void FSMMainForm::statusmsg(const QString& x) {
  if (statusPanel_->ShowStatus(x)) {
    setCursor(Qt::WaitCursor);
  } else {
    unsetCursor();
  }
}

// --- Formula display and tree links ---

void FSMMainForm::ListView1_ItemClick(const QModelIndex& shown) {
  if (campaign_) {
    // A row of the Campaign view shows its branch formula.
    const int listRow = ListRowOf(shown);
    if (currentMode_ != views::kModeCampaign || listRow < 0) return;
    codeWindows_->ShowFrom(mission_, [campaign = campaign_, row = static_cast<std::size_t>(listRow) + 1](
                                         const mission::Mission&, sexp::OperatorSet) { return campaign->Branch(row); });
    return;
  }
  if (mission_->Tree().Empty()) return;
  const int listRow = ListRowOf(shown);
  if (listRow < 0) return;
  if (const QModelIndex selected = treeView1_->currentIndex(); selected.isValid()) treeView1_->collapse(selected);
  // Entry k of the tree is row k of the list as filled, not as sorted.
  if (links_) {
    if (const auto node = links_->RowNode(currentMode_, static_cast<std::size_t>(listRow) + 1))
      treeView1_->SelectNode(*node, true);
  }
  const views::Row& row = listView1_->List().rows[static_cast<std::size_t>(listRow)];
  // A stage's formula stands outside the section store: the row's details
  // show it (RowDetails).
  if (!views::HasFormulaReference(row.tag) || !views::IsStoreMode(currentMode_)) return;

  codeWindows_->Clear();
  statusmsg(QStringLiteral("Parsing SEXP code"));
  codeWindows_->Show(mission_, row);
  statusmsg({});
}

void FSMMainForm::TreeView1_NodeClick(const QModelIndex& node) {
  if (!node.isValid()) return;
  treeView1_->expand(node);
  if (const auto target = views::NodeClickTarget(FromQString(node.data(kTagRole).toString())))
    ShowEntry(target->mode, target->row);
}

// Row `row` (1-based, as the list is filled) of view `mode`, wherever a
// column sort has put it, selected as if clicked; row 0: the view alone.
void FSMMainForm::ShowEntry(int mode, int row) {
  if (!ModeShown(mode)) return;
  MenuViewMode_Click(mode);
  if (row >= 1 && row <= static_cast<int>(listView1_->List().rows.size()) &&
      !ShownIndexOfListRow(listView1_->Shown(), row - 1).isValid())
    findBar_->Close();  // it left the row out
  const QModelIndex shown = ShownIndexOfListRow(listView1_->model(), row - 1);
  listView1_->SelectRow(shown);
  if (shown.isValid()) ListView1_ItemClick(shown);
}

QString FSMMainForm::FormulaText(int mode, int row) {
  if (campaign_) return mode == views::kModeCampaign ? ToQString(campaign_->Branch(static_cast<std::size_t>(row)).parsed) : QString();
  if (!views::IsMode(mode)) return {};
  const std::shared_ptr<const views::ListData> list = lists_.List(mode);
  if (row < 1 || static_cast<std::size_t>(row) > list->rows.size()) return {};
  const views::Row& entry = list->rows[static_cast<std::size_t>(row) - 1];
  return ToQString(views::ReadRowFormula(mission_->Sections(), entry, codeWindows_->Operators()).parsed);
}

void FSMMainForm::MenuViewTreeViewCA_Click() { treeView1_->collapseAll(); }

// --- Tools menu ---

void FSMMainForm::MenuToolsOptions_Click() {
  const std::optional<Association> chosen = dialogs_->Options(this, settings_.AssociateFileTypes());
  if (!chosen) return;
  settings_.SetAssociateFileTypes(*chosen);
  // "Always" takes effect now; "never" leaves what was written before as it
  // is, like an answer of No at start.
  if (*chosen == Association::kYes) emit associateFileTypesRequested();
}

// --- View menu and toolbar ---

void FSMMainForm::MenuViewTreeView_Click() {
  toolbar2_->SetTreeViewPressed(!toolbar2_->TreeViewPressed());
  Form_Resize();
}

void FSMMainForm::MenuViewCodeL_Click() {
  settings_.SetLeftCodeHidden(!leftCodeHidden_);  // the state after the click
  leftCodeHidden_ = !leftCodeHidden_;
  Form_Resize();
}

void FSMMainForm::MenuViewCodeR_Click() {
  settings_.SetRightCodeHidden(!rightCodeHidden_);
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

bool FSMMainForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize && watched == client_) {
    toolbar2_->FitWidth(client_->width());
    Form_Resize();
  }
  return QMainWindow::eventFilter(watched, event);
}

// --- Layout ---

void FSMMainForm::Form_Resize() {
  if (!client_ || !toolbar2_ || !iconBar_ || !follow_) return;  // still being built
  const double t = TwipsPerPixel(*this);
  LayoutInput in;
  in.outerWidth = client_->width() * t + kOuterExtraWidth;
  in.outerHeight = client_->height() * t + kOuterExtraHeight;
  in.treeButtonPressed = toolbar2_->TreeViewPressed();
  in.leftCodeHidden = leftCodeHidden_;
  in.rightCodeHidden = rightCodeHidden_;
  in.hasFormulas = hasFormulas_;
  in.firstIconIndex = iconBar_->FirstIconIndex();
  in.missionLoaded = campaign_ || !mission_->Sections().Slot(mission::kSlotMissionInfo).Empty();
  in.findBarShown = findBar_->IsOpen();
  follow_->Fill(in);  // the pane under the list, the dragged boundaries
  const LayoutResult result = ui::Form_Resize(in, panes_);
  panes_ = result.panes;
  if (result.treeSetting) settings_.SetTreeViewShown(*result.treeSetting);
  ApplyPanes(result.clearTitle);
}

void FSMMainForm::ApplyPanes(bool clearTitle) {
  const Panes& p = panes_;
  const auto place = [this](QWidget* w, const Box& b) {
    w->setGeometry(Px(b.left), Px(b.top), Px(b.width), Px(b.height));
    w->setVisible(b.visible);
  };
  place(iconBar_, p.barLeft);
  place(barTop_, p.barTop);
  place(treeView1_, p.tree);
  place(listView1_, p.list);
  place(findBar_, p.findBar);
  place(codeWindows_->Sexp(), p.codeLeft);
  place(codeWindows_->Parsed(), p.codeRight);
  iconBar_->Place(p);
  follow_->Place(p);

  listView1_->SetReportView(p.reportView);
  if (clearTitle) barTop_->Clear();
  ApplyMenuStates();
}

void FSMMainForm::ApplyMenuStates() {
  const Panes& p = panes_;
  menuViewTreeView_->setChecked(p.treeChecked);
  // A campaign has its General view and the Campaign view only.
  for (int i = 1; i <= views::kModeCount; ++i) {
    menuViewMode_[static_cast<std::size_t>(i)]->setEnabled(p.modesEnabled && ModeShown(i));
    iconBar_->SetModeAvailable(i, !p.modesEnabled || ModeShown(i));
  }
  menuViewCampaign_->setEnabled(p.modesEnabled);
  menuViewCodeL_->setChecked(p.codeLeftChecked);
  menuViewCodeR_->setChecked(p.codeRightChecked);
  menuViewCodeL_->setEnabled(p.codeEntriesEnabled);
  menuViewCodeR_->setEnabled(p.codeEntriesEnabled);
  menuViewTreeViewCA_->setEnabled(p.collapseEnabled);
  menuEditFind_->setEnabled(p.modesEnabled);
}

}  // namespace ui
