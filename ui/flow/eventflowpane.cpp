#include "ui/flow/eventflowpane.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGraphicsScene>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QSaveFile>
#include <QShortcut>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>
#include <QtMath>
#include <algorithm>

#include "ui/common/qtext.h"
#include "ui/flow/flowview.h"
#include "ui/rules/settings.h"
#include "views/flow_picture.h"

namespace ui {

namespace {

// The mode box's entries, in the order of views::FlowChoice.
constexpr int kWholeEntry = static_cast<int>(views::FlowChoice::kWhole);

QString Counted(std::size_t n, const char* one, const char* many) {
  return QStringLiteral("%1 %2").arg(n).arg(QString::fromLatin1(n == 1 ? one : many));
}

constexpr double kZoomStep = 1.25;
constexpr double kPngScale = 2;  // pixels per point of a saved picture

}  // namespace

EventFlowPane::EventFlowPane(QMainWindow* window, QMenu* viewMenu, ViewerSettings& settings,
                             std::function<QString(int, int)> formulaText)
    : QDockWidget(tr("Event Flow"), window),
      settings_(settings),
      formulaText_(std::move(formulaText)),
      layouter_(new FlowLayouter(this)) {
  setObjectName(QStringLiteral("EventFlowPane"));
  CreateControls();
  window->addDockWidget(Qt::RightDockWidgetArea, this);
  QAction* entry = toggleViewAction();
  entry->setObjectName(QStringLiteral("MenuViewEventFlow"));
  entry->setText(tr("Event Flow"));
  entry->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
  viewMenu->addAction(entry);
  connect(entry, &QAction::triggered, this, [this](bool shown) {
    settings_.SetEventFlowShown(shown);
    if (shown) {
      raise();
      view_->setFocus();
    }
  });
  setVisible(settings_.EventFlowShown());
  connect(&builder_, &QFutureWatcherBase::finished, this, &EventFlowPane::GraphBuilt);
  connect(layouter_, &FlowLayouter::laidOut, this, &EventFlowPane::LaidOut);
  ShowMessage(tr("No mission is open."));
}

void EventFlowPane::CreateControls() {
  auto* body = new QWidget(this);
  auto* column = new QVBoxLayout(body);
  column->setContentsMargins(4, 4, 4, 4);
  auto* bar = new QHBoxLayout;
  column->addLayout(bar);

  bar->addWidget(new QLabel(tr("Show:"), body));
  mode_ = new QComboBox(body);
  mode_->setObjectName(QStringLiteral("EventFlowMode"));
  mode_->addItems({tr("Automatic"), tr("Whole mission"), tr("Neighbourhood")});
  mode_->setToolTip(tr("Automatic: the whole mission up to %1 events and goals, the selected entry's "
                       "neighbourhood above")
                        .arg(views::kWholeDefaultLimit));
  mode_->setCurrentIndex(static_cast<int>(settings_.EventFlowMode()));
  bar->addWidget(mode_);
  bar->addWidget(new QLabel(tr("Steps:"), body));
  steps_ = new QSpinBox(body);
  steps_->setObjectName(QStringLiteral("EventFlowSteps"));
  steps_->setRange(1, kMaxFlowSteps);
  steps_->setValue(settings_.EventFlowSteps());
  steps_->setToolTip(tr("How many steps the neighbourhood reaches either way"));
  bar->addWidget(steps_);
  cues_ = new QCheckBox(tr("Ships and wings"), body);
  cues_->setObjectName(QStringLiteral("EventFlowCues"));
  cues_->setToolTip(tr("Show the ships and wings whose arrival or departure waits on an event or goal"));
  bar->addWidget(cues_);
  bar->addStretch();
  save_ = new QToolButton(body);
  save_->setObjectName(QStringLiteral("EventFlowSave"));
  save_->setText(tr("Save Picture..."));
  bar->addWidget(save_);

  info_ = new QLabel(body);
  info_->setObjectName(QStringLiteral("EventFlowInfo"));
  info_->setWordWrap(true);
  column->addWidget(info_);
  view_ = new FlowView(body);
  column->addWidget(view_, 1);
  setWidget(body);

  connect(mode_, &QComboBox::currentIndexChanged, this, &EventFlowPane::ChoiceChanged);
  connect(steps_, &QSpinBox::valueChanged, this, &EventFlowPane::ChoiceChanged);
  connect(cues_, &QCheckBox::toggled, this, [this] {
    data_.reset();  // the graph is built again, with or without them
    Refresh();
  });
  connect(save_, &QToolButton::clicked, this, &EventFlowPane::SavePictureAs);
  connect(view_, &FlowView::nodeClicked, this, [this](std::uint32_t node) {
    if (!result_ || node >= result_->picture.part.origin.size()) return;
    if (result_->picture.part.origin[node] == views::FlowPart::kNoOrigin) return;  // "+K more"
    const views::FlowNode& n = result_->picture.part.graph.nodes[node];
    emit entryChosen(n.mode, static_cast<int>(n.row));
  });
  view_->SetToolTips([this](std::uint32_t node) -> QString {
    if (!result_ || node >= result_->picture.part.graph.nodes.size()) return {};
    const views::FlowNode& n = result_->picture.part.graph.nodes[node];
    if (n.kind == views::FlowNodeKind::kMore) return tr("Not shown: %1 more within reach").arg(ToQString(n.label));
    if (n.kind != views::FlowNodeKind::kEvent && n.kind != views::FlowNodeKind::kGoal) return ToQString(n.label);
    return ToQString(views::FlowToolTip(n.label, FromQString(formulaText_(n.mode, static_cast<int>(n.row)))));
  });

  // Zoom keys while the pane has the focus; Ctrl+wheel in the view itself.
  const auto key = [this](QKeySequence sequence, auto action) {
    auto* shortcut = new QShortcut(sequence, this);
    shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    connect(shortcut, &QShortcut::activated, this, action);
  };
  key(QKeySequence(Qt::CTRL | Qt::Key_Plus), [this] { view_->ZoomBy(kZoomStep); });
  key(QKeySequence(Qt::CTRL | Qt::Key_Equal), [this] { view_->ZoomBy(kZoomStep); });
  key(QKeySequence(Qt::CTRL | Qt::Key_Minus), [this] { view_->ZoomBy(1 / kZoomStep); });
  key(QKeySequence(Qt::CTRL | Qt::Key_0), [this] { view_->Fit(); });
}

// --- The mission and its graph ---

void EventFlowPane::MissionShown(std::shared_ptr<const mission::Mission> mission, bool reload) {
  mission_ = std::move(mission);
  data_.reset();
  requested_.reset();
  fitNext_ = !reload;
  // A reload keeps its picture until the new one is there; another mission's
  // picture would mislead meanwhile.
  if (!reload) ShowMessage(tr("Reading the mission's events and goals..."));
  Refresh();
}

void EventFlowPane::BuildGraph() {
  builder_.setFuture(QtConcurrent::run(BuildFlowGraphData, mission_, views::FlowOptions{.cues = cues_->isChecked()}));
}

void EventFlowPane::GraphBuilt() {
  if (builder_.isCanceled()) return;
  std::shared_ptr<const FlowGraphData> built = builder_.result();
  // Only the graph of the mission shown, as the pane draws it now.
  if (!built || built->mission != mission_ || built->options.cues != cues_->isChecked()) {
    Refresh();
    return;
  }
  data_ = std::move(built);
  Refresh();
}

void EventFlowPane::showEvent(QShowEvent* event) {
  QDockWidget::showEvent(event);
  if (!sized_) {
    // At first beside the list, taking two fifths of the window.
    sized_ = true;
    if (auto* window = qobject_cast<QMainWindow*>(parentWidget())) {
      window->resizeDocks({this}, {window->width() * 2 / 5}, Qt::Horizontal);
    }
  }
  Refresh();
}

void EventFlowPane::closeEvent(QCloseEvent* event) {
  settings_.SetEventFlowShown(false);
  QDockWidget::closeEvent(event);
}

void EventFlowPane::EntrySelected(int mode, int row) {
  selectedMode_ = mode;
  selectedRow_ = row;
  Refresh();
}

void EventFlowPane::ChoiceChanged() {
  settings_.SetEventFlowMode(static_cast<views::FlowChoice>(mode_->currentIndex()));
  settings_.SetEventFlowSteps(steps_->value());
  Refresh();
}

views::FlowMode EventFlowPane::Mode() const {
  return views::FlowModeFor(static_cast<views::FlowChoice>(mode_->currentIndex()), data_ ? data_->eventsAndGoals : 0);
}

std::optional<std::uint32_t> EventFlowPane::SelectedNode() const {
  if (!data_ || selectedRow_ < 1) return std::nullopt;
  return views::FindFlowNode(data_->graph, selectedMode_, static_cast<std::uint32_t>(selectedRow_));
}

// --- Pictures ---

void EventFlowPane::Refresh() {
  if (!mission_) {
    ShowMessage(tr("No mission is open."));
    return;
  }
  if (!isVisible()) return;  // built and drawn once shown
  if (!data_) {
    if (!builder_.isRunning()) BuildGraph();
    if (result_) info_->setText(tr("Reading the mission's events and goals..."));
    return;
  }
  // Above the limit only the neighbourhood is drawn.
  if (auto* model = qobject_cast<QStandardItemModel*>(mode_->model())) {
    if (QStandardItem* whole = model->item(kWholeEntry)) whole->setEnabled(data_->eventsAndGoals <= views::kWholeLimit);
  }
  const views::FlowMode mode = Mode();
  steps_->setEnabled(mode == views::FlowMode::kNeighbourhood);
  if (data_->graph.nodes.empty()) {
    ShowMessage(tr("This mission has no events or goals."));
    return;
  }
  FlowRequest request{data_, mode, 0, static_cast<unsigned>(steps_->value())};
  if (mode == views::FlowMode::kNeighbourhood) {
    const std::optional<std::uint32_t> center = SelectedNode();
    if (!center) {
      // Another view's row: the neighbourhood shown stays.
      if (shown_ && shown_->data == data_ && shown_->mode == mode) {
        Highlight();
      } else {
        ShowMessage(tr("Select an event or goal to see what it reaches and what reaches it."));
      }
      return;
    }
    request.center = *center;
  }
  if (shown_ && *shown_ == request) {
    Highlight();
    return;
  }
  if (requested_ && *requested_ == request) return;  // on its way
  requested_ = request;
  info_->setText(tr("Laying out..."));
  layouter_->Request(std::move(request));
}

void EventFlowPane::LaidOut(const std::shared_ptr<const FlowResult>& result) {
  if (result->request.data != data_) return;  // of a graph replaced meanwhile
  requested_.reset();
  result_ = result;
  shown_ = result->request;
  if (!result->ok) {
    view_->Item()->SetPicture(nullptr);
    info_->setText(tr("No picture: %1").arg(QString::fromStdString(result->error)));
    emit pictureShown();
    return;
  }
  view_->Item()->SetPicture(std::shared_ptr<const views::FlowPicture>(result, &result->picture));
  view_->scene()->setSceneRect(view_->Item()->boundingRect());
  info_->setText(Summary(*result));
  if (fitNext_) {
    view_->Introduce();
    fitNext_ = false;
  }
  Highlight();
  emit pictureShown();
}

void EventFlowPane::ShowMessage(const QString& text) {
  view_->Item()->SetPicture(nullptr);
  view_->scene()->setSceneRect(QRectF());
  shown_.reset();
  result_.reset();
  info_->setText(text);
  emit pictureShown();
}

void EventFlowPane::Highlight() {
  if (!result_ || !result_->ok) return;
  const std::optional<std::uint32_t> selected = SelectedNode();
  const std::vector<std::uint32_t>& origin = result_->picture.part.origin;
  std::optional<std::uint32_t> node;
  if (selected) {
    const auto found = std::find(origin.begin(), origin.end(), *selected);
    if (found != origin.end()) node = static_cast<std::uint32_t>(found - origin.begin());
  }
  view_->Item()->SetHighlighted(node);
  if (node) view_->ShowNode(*node);
}

QString EventFlowPane::Summary(const FlowResult& result) const {
  const views::FlowGraph& graph = result.picture.part.graph;
  std::size_t events = 0, goals = 0, others = 0;
  for (const views::FlowNode& n : graph.nodes) {
    if (n.kind == views::FlowNodeKind::kEvent) {
      ++events;
    } else if (n.kind == views::FlowNodeKind::kGoal) {
      ++goals;
    } else if (n.kind != views::FlowNodeKind::kMore) {
      ++others;
    }
  }
  std::size_t edges = 0;
  for (const views::FlowEdge& e : graph.edges) edges += e.kind != views::FlowEdgeKind::kMore;
  QString text = Counted(events, "event", "events") + QStringLiteral(", ") + Counted(goals, "goal", "goals");
  if (others > 0) text += QStringLiteral(", ") + Counted(others, "ship or wing", "ships and wings");
  text += QStringLiteral(", ") + Counted(edges, "link", "links");
  if (result.request.mode == views::FlowMode::kWhole) {
    if (result.picture.unlinkedCount > 0) text += tr(" (%1 without links)").arg(result.picture.unlinkedCount);
    return text;
  }
  const views::FlowNode& center = result.request.data->graph.nodes[result.request.center];
  text = tr("\u201c%1\u201d within %2: %3").arg(ToQString(mission::TrimBlankView(center.label)))
             .arg(Counted(result.request.steps, "step", "steps"), text);
  if (!graph.nodes.empty() && graph.nodes.back().kind == views::FlowNodeKind::kMore) {
    text += tr("; %1 not shown").arg(ToQString(graph.nodes.back().label).mid(1));
  }
  return text;
}

// --- For tests ---

const views::FlowPicture* EventFlowPane::Picture() const { return result_ && result_->ok ? &result_->picture : nullptr; }

std::optional<std::uint32_t> EventFlowPane::HighlightedNode() const {
  const std::optional<std::uint32_t> node = view_->Item()->Highlighted();
  if (!node || !result_) return std::nullopt;
  return result_->picture.part.origin[*node];
}

// --- Saving ---

bool EventFlowPane::SavePicture(const QString& path, QString& error) {
  const views::FlowPicture* picture = Picture();
  if (picture == nullptr) {
    error = tr("There is no picture to save.");
    return false;
  }
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    error = file.errorString();
    return false;
  }
  if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
    const std::string svg = views::FlowSvg(*picture);
    file.write(svg.data(), static_cast<qint64>(svg.size()));
  } else {
    const QRectF bounds = view_->Item()->boundingRect();
    QImage image(qCeil(bounds.width() * kPngScale), qCeil(bounds.height() * kPngScale), QImage::Format_RGB32);
    if (image.isNull()) {
      error = tr("The picture is too large for PNG; save it as SVG.");
      file.cancelWriting();
      return false;
    }
    image.fill(Qt::white);
    {
      QPainter painter(&image);
      view_->scene()->render(&painter, QRectF(image.rect()), bounds);
    }
    if (!image.save(&file, "PNG")) {
      error = tr("The picture could not be written as PNG.");
      file.cancelWriting();
      return false;
    }
  }
  if (!file.commit()) {
    error = file.errorString();
    return false;
  }
  return true;
}

void EventFlowPane::SavePictureAs() {
  QString filter;
  QString path = QFileDialog::getSaveFileName(this, tr("Save Picture"), QString(),
                                              tr("SVG picture (*.svg);;PNG picture (*.png)"), &filter);
  if (path.isEmpty()) return;
  if (!path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive) &&
      !path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) {
    path += filter.contains(QStringLiteral("png")) ? QStringLiteral(".png") : QStringLiteral(".svg");
  }
  QString error;
  if (!SavePicture(path, error)) QMessageBox::warning(this, tr("Save Picture"), tr("%1: %2").arg(path, error));
}

}  // namespace ui
