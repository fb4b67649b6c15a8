#include "ui/problems/problems.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QMainWindow>
#include <QMenu>
#include <QStatusBar>
#include <QStyle>
#include <QTreeView>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <cstdint>


#include "ui/common/qtext.h"

namespace ui {

namespace {

int AsInt(std::size_t n) { return static_cast<int>(std::min<std::size_t>(n, INT32_MAX)); }

}  // namespace

std::string CheckResult::CountsText() const {
  return campaign ? views::CountsText(counts, missions, 1) : views::CountsText(counts);
}

// --- MissionChecker ---

MissionChecker::MissionChecker(QObject* parent) : QObject(parent) {
  connect(&watcher_, &QFutureWatcherBase::finished, this, [this] {
    // Only the check watched now, once done: a note of the one before that
    // arrives late must neither show its result nor wait for this one.
    if (watcher_.isFinished() && !watcher_.isCanceled()) emit checked(watcher_.result());
  });
}

MissionChecker::~MissionChecker() { watcher_.waitForFinished(); }

void MissionChecker::Start(std::shared_ptr<const mission::Mission> mission) {
  // A check cannot be stopped half-way: the one before runs to its end on its
  // own copy of the mission's pointer, and cancelling only drops its result.
  watcher_.cancel();
  watcher_.setFuture(QtConcurrent::run([mission = std::move(mission)] {
    auto result = std::make_shared<CheckResult>();
    result->problems = views::CheckMission(*mission);
    result->counts = views::CountProblems(result->problems);
    result->mission = mission;
    return std::shared_ptr<const CheckResult>(std::move(result));
  }));
}

// --- ProblemsModel ---

void ProblemsModel::SetResult(std::shared_ptr<const CheckResult> result) {
  beginResetModel();
  result_ = std::move(result);
  endResetModel();
}

const views::Problem* ProblemsModel::ProblemAt(int row) const {
  if (!result_ || row < 0 || static_cast<std::size_t>(row) >= result_->problems.size()) return nullptr;
  return &result_->problems[static_cast<std::size_t>(row)];
}

QString ProblemsModel::FileAt(int row) const {
  return ProblemAt(row) == nullptr ? QString() : result_->FileOf(static_cast<std::size_t>(row));
}

int ProblemsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() || !result_ ? 0 : AsInt(result_->problems.size());
}

int ProblemsModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QVariant ProblemsModel::data(const QModelIndex& index, int role) const {
  const views::Problem* problem = ProblemAt(index.row());
  if (problem == nullptr) return {};
  const bool error = views::SeverityOf(problem->rule) == views::Severity::kError;
  switch (index.column()) {
    case kSeverityColumn:
      if (role == Qt::DisplayRole) return error ? tr("error") : tr("warning");
      if (role == Qt::DecorationRole) {
        return QApplication::style()->standardIcon(error ? QStyle::SP_MessageBoxCritical
                                                         : QStyle::SP_MessageBoxWarning);
      }
      break;
    case kFileColumn: {
      // The file's name; its path under the mouse.
      const QString file = result_->FileOf(static_cast<std::size_t>(index.row()));
      const QString path = file.isEmpty() && !result_->files.empty() ? result_->files.front() : file;
      if (role == Qt::DisplayRole) return QFileInfo(path).fileName();
      if (role == Qt::ToolTipRole) return QDir::toNativeSeparators(path);
      break;
    }
    case kLineColumn:
      if (role == Qt::DisplayRole) return static_cast<qulonglong>(problem->line);
      if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
      break;
    case kProblemColumn:
      // Texts are made when a row is painted; a mission with a million
      // problems costs no texts until they are scrolled into view.
      if (role == Qt::DisplayRole || role == Qt::ToolTipRole) return ShownText(views::ProblemText(*problem));
      break;
    case kRuleColumn:
      // The id that `torvk32 --check --ignore` takes.
      if (role == Qt::DisplayRole) return QString::fromUtf8(views::InfoOf(problem->rule).id);
      if (role == Qt::ToolTipRole) return QString::fromUtf8(views::InfoOf(problem->rule).description);
      break;
    default:
      break;
  }
  return {};
}

QVariant ProblemsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  switch (section) {
    case kSeverityColumn: return tr("Severity");
    case kFileColumn: return tr("File");
    case kLineColumn: return tr("Line");
    case kProblemColumn: return tr("Problem");
    case kRuleColumn: return tr("Rule");
    default: return {};
  }
}

// --- ProblemsStatus ---

ProblemsStatus::ProblemsStatus(QWidget* parent) : QToolButton(parent) {
  setObjectName(QStringLiteral("ProblemsStatus"));
  setAutoRaise(true);
  setToolTip(tr("Show the mission's problems"));
  setVisible(false);  // until a mission is loaded
}

void ProblemsStatus::SetChecking(bool campaign) {
  setText(campaign ? tr("Checking the campaign...") : tr("Checking the mission..."));
  setVisible(true);
}

void ProblemsStatus::SetCounts(const CheckResult& result) {
  setText(QString::fromStdString(result.CountsText()));
  setVisible(true);
}

// --- ProblemsPane ---

ProblemsPane::ProblemsPane(QMainWindow* window, QMenu* viewMenu) : QDockWidget(tr("Problems"), window) {
  setObjectName(QStringLiteral("ProblemsPane"));
  checker_ = new MissionChecker(this);
  model_ = new ProblemsModel(this);
  view_ = new QTreeView(this);
  view_->setObjectName(QStringLiteral("ProblemsList"));
  view_->setModel(model_);
  view_->setRootIsDecorated(false);
  view_->setUniformRowHeights(true);  // rows are laid out on demand, however many there are
  view_->setAlternatingRowColors(true);
  view_->header()->setStretchLastSection(false);
  view_->header()->setSectionResizeMode(ProblemsModel::kSeverityColumn, QHeaderView::ResizeToContents);
  view_->header()->setSectionResizeMode(ProblemsModel::kFileColumn, QHeaderView::ResizeToContents);
  view_->header()->setSectionResizeMode(ProblemsModel::kLineColumn, QHeaderView::ResizeToContents);
  view_->setColumnHidden(ProblemsModel::kFileColumn, true);
  view_->header()->setSectionResizeMode(ProblemsModel::kProblemColumn, QHeaderView::Stretch);
  view_->header()->setSectionResizeMode(ProblemsModel::kRuleColumn, QHeaderView::ResizeToContents);
  setWidget(view_);
  status_ = new ProblemsStatus(window);
  window->statusBar()->addPermanentWidget(status_);
  window->addDockWidget(Qt::BottomDockWidgetArea, this);
  hide();
  QAction* entry = toggleViewAction();
  entry->setObjectName(QStringLiteral("MenuViewProblems"));
  entry->setText(tr("&Problems"));
  viewMenu->addAction(entry);

  connect(checker_, &MissionChecker::checked, this, &ProblemsPane::Show);
  connect(status_, &QToolButton::clicked, this, [this] {
    show();
    raise();
    view_->setFocus();
  });
  connect(view_, &QTreeView::activated, this, [this](const QModelIndex& index) {
    const views::Problem* problem = model_->ProblemAt(index.row());
    if (problem == nullptr) return;
    const QString file = model_->FileAt(index.row());
    if (file.isEmpty()) {
      emit problemActivated(problem->mode, AsInt(problem->row));
    } else {
      emit problemInFileActivated(file, problem->mode, AsInt(problem->row));
    }
  });
}

void ProblemsPane::Check(std::shared_ptr<const mission::Mission> mission, Source source) {
  model_->SetResult(nullptr);  // the list of the mission before would point at the wrong lines
  status_->SetChecking(source == Source::kCampaignCheckFollows);
  if (source == Source::kCheckHere) {
    awaited_.reset();
    checker_->Start(std::move(mission));
  } else {
    checker_->Drop();
    awaited_ = std::move(mission);
    awaitedCampaign_ = source == Source::kCampaignCheckFollows;
  }
}

void ProblemsPane::TakeCheck(const std::shared_ptr<const CheckResult>& result) {
  if (!result || result->mission != awaited_ || result->campaign != awaitedCampaign_) return;
  awaited_.reset();
  Show(result);
}

void ProblemsPane::Show(const std::shared_ptr<const CheckResult>& result) {
  model_->SetResult(result);
  view_->setColumnHidden(ProblemsModel::kFileColumn, !result->campaign);
  status_->SetCounts(*result);
}

}  // namespace ui
