// The main window on a 100 MB synthetic mission, on the offscreen platform
// (or the display in QT_QPA_PLATFORM / DISPLAY):
//   CoreLoad         the mission loader alone;
//   LoadToGeneral    from the start of the window's load to the General view
//                    painted, in wall time: the mission is read in a worker
//                    thread while the event loop runs (target: at most 1.2x
//                    the time before the read moved off the window's thread,
//                    which was 0.97x CoreLoad: so at most 1.16x CoreLoad).
//                    Its counters give the longest time the event loop went
//                    unserved meanwhile (longest_block_ms, target: at most
//                    100 ms) and the process's peak memory against the file
//                    size (target: at most 6x), both taken until the reader
//                    has also built what follows the mission (check,
//                    reference index, every view's list, the linked names;
//                    indexed_ms: from the start of the load until then). It
//                    runs once, on a fresh window: a second load keeps the
//                    mission shown until the new one has been read, which
//                    holds both for a moment;
//   SwitchToLargest  from General to the view with the most rows, row 1
//                    selected and its formula shown, painted (target: under
//                    0.5 s for 100,000 rows);
//   CollapseAndNode  "Collapse All in TreeView", then a click on an entry node
//                    in the middle of the largest section, painted;
//   SortLargest      a click on a column header of the view with the most
//                    rows: /0 its first column of numbers (sorted by value),
//                    /1 its first column of text, sorted and painted;
//   FindShipInEvents the Events view with the find bar open: a ship's name
//                    put into its field (the rows that hold it kept, the
//                    first of them selected with its formula shown),
//                    painted (target: at most 0.1 s). The search of the list
//                    is prepared by a text typed before;
//   LinkClick        an event in the middle of the Events view selected, a
//                    click on a name in its SEXP code window: /0 the name of
//                    another event (its row selected and its formula shown),
//                    /1 the name of a ship, which switches to the Ships view,
//                    the largest, and selects the ship's row with its cues;
//                    /2 the same with the lists sorted by their first column
//                    (the Ships view by name); painted (target: at most
//                    50 ms). Unsorted and sorted have a window each. Its counter first_hover_ms is the
//                    mouse's first move over a code window of the mission;
//   FlowNeighbourhood the Event Flow pane open on a 100 MB mission whose
//                    event 0 is named by 1,000 others (the pane draws
//                    neighbourhoods only, at this size): from selecting an
//                    event in the Events view until its neighbourhood is
//                    laid out and painted, in wall time, /0 event 0 (target:
//                    0.5 s), /1 an ordinary event in the middle (target:
//                    0.2 s); longest_block_ms the longest time the event loop
//                    went unserved meanwhile (target: at most 100 ms). The
//                    window is measured once its graph is built.
//   SwitchToLaterView from General to a view after the eight (/9 Variables,
//                    /10 Briefing, /11 Command Briefing, /12 Debriefing,
//                    /13 Summary), row 1 selected with its text and formula,
//                    painted, on a 100 MB synthetic mission with variables
//                    and briefings in the proportions of real missions
//                    (target: under 50 ms; the lists are filled by the
//                    reader beside the window, never by the switch). It runs
//                    last, in a window of its own, the others closed.
// The windows of the benchmarks after LoadToGeneral are measured once the
// reader has handed over all it builds after a load.
#include <benchmark/benchmark.h>

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>
#include <QTreeView>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "bench/mission/synthetic.h"
#include "mission/mission.h"
#include "ui/common/qtext.h"
#include "ui/flow/eventflowpane.h"
#include "ui/load/missionreader.h"
#include "ui/rules/settings.h"
#include "ui/window/mainform.h"
#include "views/flow.h"
#include "views/modes.h"
#include "views/sort.h"

namespace {

constexpr std::size_t kMegabytes = 100;

const std::string& MissionPath() {
  static const std::string path = bench::SyntheticMissionFile(kMegabytes);
  return path;
}

const std::string& BriefingsMissionPath() {
  static const std::string path = bench::SyntheticMissionFile(kMegabytes, bench::MissionExtras{.briefings = true});
  return path;
}

// Peak resident memory of the process so far, in bytes.
double PeakResidentBytes() {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    if (key == "VmHWM:") {
      double kb = 0;
      status >> kb;
      return kb * 1024;
    }
    status.ignore(1 << 20, '\n');
  }
  return 0;
}

void Settle(QWidget& w) {
  QApplication::processEvents();
  w.repaint();
}

struct Window {
  QTemporaryDir settings;
  std::unique_ptr<ui::FSMMainForm> form;
  explicit Window(bool eventFlow = false) {
    ui::ViewerSettings(ui::FromQString(settings.path())).SetTreeViewShown(true);
    ui::ViewerSettings(ui::FromQString(settings.path())).SetEventFlowShown(eventFlow);
    form = std::make_unique<ui::FSMMainForm>(settings.path());
    form->resize(1280, 960);
    form->show();
    Settle(*form);
  }
};

// Runs the event loop until `done` holds, and returns the longest time in
// milliseconds that it went without serving a 1 ms heartbeat, counted from
// `clock`'s start. Between events the loop sleeps, as a user's would.
template <class Done>
double LongestBlockUntil(const QElapsedTimer& clock, Done done) {
  qint64 last = 0, longest = 0;
  QEventLoop loop;
  QTimer beat;
  beat.setTimerType(Qt::PreciseTimer);
  beat.setInterval(1);
  QObject::connect(&beat, &QTimer::timeout, &loop, [&] {
    const qint64 now = clock.nsecsElapsed();
    longest = std::max(longest, now - last);
    last = now;
    if (done()) loop.quit();
  });
  beat.start();
  loop.exec();
  return static_cast<double>(longest) / 1e6;
}

// Loads the benchmark mission, which is read in a worker thread, and waits
// until the window shows it and has what the reader builds after it (the
// check, the reference index, every view's list, the linked names): what
// the window has a moment after a load. Returns the milliseconds from the
// start of the load until then.
double LoadAndWait(Window& window, const std::string& path = MissionPath()) {
  auto* progress = window.form->findChild<QProgressBar*>(QStringLiteral("LoadProgress"));
  auto* reader = window.form->findChild<ui::MissionReader*>();
  bool indexed = false;
  const QMetaObject::Connection connection =
      QObject::connect(reader, &ui::MissionReader::indexed, [&indexed] { indexed = true; });
  QElapsedTimer clock;
  clock.start();
  window.form->LoadFile(QString::fromStdString(path));
  LongestBlockUntil(clock, [&] { return !progress->isVisible() && indexed; });
  QObject::disconnect(connection);
  Settle(*window.form);
  return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

// One loaded window for the switching benchmarks; it must go before the
// QApplication does.
std::unique_ptr<Window> shared;
// Two for the link clicks: one never sorted (a sort stays for later lists),
// one sorted by the first column.
std::unique_ptr<Window> unsorted;
std::unique_ptr<Window> sortedByName;
// The mission with briefings, for the views after the eight.
std::unique_ptr<Window> briefings;

Window& SharedWindow(std::unique_ptr<Window>& window = shared) {
  if (!window) {
    window = std::make_unique<Window>();
    LoadAndWait(*window);
  }
  return *window;
}

// The View menu's entry for a mode, through which the window is driven.
QAction* ModeEntry(ui::FSMMainForm& form, int mode) {
  return form.findChild<QAction*>(QStringLiteral("MenuViewMode%1").arg(mode));
}

int LargestMode(const mission::Mission& m, std::size_t& rows) {
  int best = 1;
  rows = 0;
  for (int mode = 1; mode <= views::kModeCount; ++mode) {
    const std::size_t n = views::FillMode(mode, m).rows.size();
    if (n > rows) rows = n, best = mode;
  }
  return best;
}

void BM_CoreLoad(benchmark::State& state) {
  for (auto _ : state) {
    mission::Mission m;
    if (!mission::LoadFile(MissionPath(), m).ok) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(m.Tree().Size());
  }
}

void BM_LoadToGeneral(benchmark::State& state) {
  Window window;
  auto* progress = window.form->findChild<QProgressBar*>(QStringLiteral("LoadProgress"));
  const QString caption = window.form->windowTitle();
  bool indexed = false;
  QObject::connect(window.form->findChild<ui::MissionReader*>(), &ui::MissionReader::indexed,
                   [&indexed] { indexed = true; });
  double longest = 0, indexedMs = 0;
  for (auto _ : state) {
    indexed = false;
    QElapsedTimer clock;
    clock.start();
    if (!window.form->LoadFile(QString::fromStdString(MissionPath()))) state.SkipWithError("load failed");
    longest = std::max(longest, LongestBlockUntil(clock, [&] {
      return !progress->isVisible() && window.form->windowTitle() != caption;
    }));
    Settle(*window.form);
    // Then the rest of the reader's work, while the window is usable.
    state.PauseTiming();
    QElapsedTimer rest;
    rest.start();
    longest = std::max(longest, LongestBlockUntil(rest, [&] { return indexed; }));
    indexedMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    state.ResumeTiming();
  }
  state.counters["longest_block_ms"] = longest;
  state.counters["indexed_ms"] = indexedMs;
  const double file = static_cast<double>(std::filesystem::file_size(MissionPath()));
  state.counters["file_MB"] = file / 1e6;
  state.counters["peak_MB"] = PeakResidentBytes() / 1e6;
  state.counters["peak_per_file"] = PeakResidentBytes() / file;
}

void BM_SwitchToLargest(benchmark::State& state) {
  Window& window = SharedWindow();
  std::size_t rows = 0;
  const int mode = LargestMode(window.form->LoadedMission(), rows);
  QAction* general = ModeEntry(*window.form, views::kModeGeneral);
  QAction* largest = ModeEntry(*window.form, mode);
  for (auto _ : state) {
    state.PauseTiming();
    general->trigger();
    Settle(*window.form);
    state.ResumeTiming();
    largest->trigger();
    Settle(*window.form);
  }
  state.SetLabel(mission::ToUtf8(views::ModeOf(mode).title) + ", " + std::to_string(rows) + " rows");
}

void BM_CollapseAndNode(benchmark::State& state) {
  Window& window = SharedWindow();
  std::size_t rows = 0;
  const int mode = LargestMode(window.form->LoadedMission(), rows);
  auto* tree = window.form->findChild<QTreeView*>("TreeView1");
  QAbstractItemModel* model = tree->model();
  // The section node of the largest view and its middle entry.
  QModelIndex section;
  for (int r = 0; r < model->rowCount(); ++r) {
    const QModelIndex i = model->index(r, 0);
    if (i.data(Qt::UserRole).toString() == QString::number(mode)) {
      section = i;
      break;
    }
  }
  const QModelIndex entry = model->index(model->rowCount(section) / 2, 0, section);
  auto* collapseAll = window.form->findChild<QAction*>("MenuViewTreeViewCA");
  for (auto _ : state) {
    collapseAll->trigger();
    emit tree->clicked(entry);  // what a mouse click on the node ends in
    Settle(*window.form);
  }
  state.SetLabel("node " + entry.data(Qt::UserRole).toString().toStdString());
}

void BM_SortLargest(benchmark::State& state) {
  Window& window = SharedWindow();
  std::size_t rows = 0;
  const int mode = LargestMode(window.form->LoadedMission(), rows);
  ModeEntry(*window.form, mode)->trigger();
  Settle(*window.form);
  const views::ListData list = views::FillMode(mode, window.form->LoadedMission());
  // The first column that sorts by value (numbers) or by text.
  const bool numbers = state.range(0) == 0;
  int column = -1;
  for (std::size_t c = 0; c < list.columns.size() && column < 0; ++c) {
    if (views::NumericSortKeys(list, c).has_value() == numbers) column = static_cast<int>(c);
  }
  if (column < 0) {
    state.SkipWithError("no such column");
    return;
  }
  auto* header = window.form->findChild<QTreeView*>("ListView1")->header();
  const int other = column == 0 ? 1 : 0;
  for (auto _ : state) {
    state.PauseTiming();
    emit header->sectionClicked(other);
    Settle(*window.form);
    state.ResumeTiming();
    emit header->sectionClicked(column);  // what a click on the header ends in
    Settle(*window.form);
  }
  state.SetLabel(mission::ToUtf8(views::ModeOf(mode).title) + ", " + std::to_string(rows) + " rows, by " +
                 mission::ToUtf8(list.columns[static_cast<std::size_t>(column)].caption));
}

void BM_FindShipInEvents(benchmark::State& state) {
  Window& window = SharedWindow();
  ModeEntry(*window.form, views::kModeEvents)->trigger();
  window.form->findChild<QAction*>(QStringLiteral("MenuEditFind"))->trigger();
  auto* field = window.form->findChild<QLineEdit*>(QStringLiteral("FindField"));
  auto* list = window.form->findChild<QTreeView*>(QStringLiteral("ListView1"));
  field->setText(QStringLiteral("Beta"));  // the list's search prepared
  Settle(*window.form);
  for (auto _ : state) {
    state.PauseTiming();
    field->clear();
    Settle(*window.form);
    state.ResumeTiming();
    field->setText(QStringLiteral("Alpha 30000"));  // a ship a few events name
    Settle(*window.form);
  }
  state.SetLabel(std::to_string(list->model()->rowCount()) + " of " +
                 std::to_string(views::FillMode(views::kModeEvents, window.form->LoadedMission()).rows.size()) +
                 " events");
  field->clear();
  Settle(*window.form);
}

// Sends a mouse event of `type` to a code window's viewport at `at`.
void SendMouse(QTextEdit* window, QEvent::Type type, QPoint at) {
  const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  const Qt::MouseButtons buttons = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
  QMouseEvent event(type, QPointF(at), window->viewport()->mapToGlobal(QPointF(at)), button, buttons,
                    Qt::NoModifier);
  QApplication::sendEvent(window->viewport(), &event);
}

// The middle of the first character of `name`, quoted, in a code window.
QPoint PointOfName(QTextEdit* window, const QString& name) {
  const int at = static_cast<int>(window->toPlainText().indexOf('"' + name + '"')) + 2;
  QTextCursor cursor(window->document());
  cursor.setPosition(at);
  const QRect left = window->cursorRect(cursor);
  cursor.setPosition(at + 1);
  return {(left.left() + window->cursorRect(cursor).left()) / 2, left.center().y()};
}

// The quoted name after `words` in a code window's text, or nothing.
QString NameAfter(const QString& text, const QString& words) {
  const qsizetype at = text.indexOf(words + QStringLiteral(" \""));
  if (at < 0) return {};
  const qsizetype start = at + words.size() + 2;
  return text.mid(start, text.indexOf('"', start) - start);
}

void BM_LinkClick(benchmark::State& state) {
  const bool sort = state.range(0) == 2;
  Window& window = SharedWindow(sort ? sortedByName : unsorted);
  std::size_t largestRows = 0;
  const int largest = LargestMode(window.form->LoadedMission(), largestRows);
  if (sort) {
    ModeEntry(*window.form, largest)->trigger();
    emit window.form->findChild<QTreeView*>(QStringLiteral("ListView1"))->header()->sectionClicked(0);
  }
  ModeEntry(*window.form, views::kModeEvents)->trigger();
  Settle(*window.form);
  auto* list = window.form->findChild<QTreeView*>(QStringLiteral("ListView1"));
  auto* sexp = window.form->findChild<QTextEdit*>(QStringLiteral("RichTextBox1"));
  const int events = list->model()->rowCount();
  // An event in the middle whose formula names another event and a ship.
  const bool toShip = state.range(0) >= 1;
  int row = events / 2;
  QString named;
  for (; row < events && named.isEmpty(); ++row) {
    list->setCurrentIndex(list->model()->index(row, 0));
    if (NameAfter(sexp->toPlainText(), QStringLiteral("is-event-true-delay")).isEmpty()) continue;
    named = NameAfter(sexp->toPlainText(), toShip ? QStringLiteral("is-destroyed-delay 0")
                                                  : QStringLiteral("is-event-true-delay"));
  }
  --row;
  if (named.isEmpty()) {
    state.SkipWithError("no event names another event and a ship");
    return;
  }
  Settle(*window.form);
  QElapsedTimer hover;
  hover.start();
  SendMouse(sexp, QEvent::MouseMove, PointOfName(sexp, named));
  state.counters["first_hover_ms"] = static_cast<double>(hover.nsecsElapsed()) / 1e6;
  QAction* eventsEntry = ModeEntry(*window.form, views::kModeEvents);
  for (auto _ : state) {
    state.PauseTiming();
    eventsEntry->trigger();
    list->setCurrentIndex(list->model()->index(row, 0));
    const QPoint at = PointOfName(sexp, named);
    SendMouse(sexp, QEvent::MouseMove, at);
    Settle(*window.form);
    state.ResumeTiming();
    SendMouse(sexp, QEvent::MouseButtonPress, at);
    SendMouse(sexp, QEvent::MouseButtonRelease, at);
    Settle(*window.form);
  }
  const int mode = window.form->CurrentMode();
  const QModelIndex reached = list->currentIndex();
  if (reached.siblingAtColumn(mode == views::kModeEvents ? 1 : 0).data().toString() != named)
    state.SkipWithError("the link went elsewhere");
  state.SetLabel("Events row " + std::to_string(row + 1) + " to " + mission::ToUtf8(views::ModeOf(mode).title) +
                 " (" + std::to_string(list->model()->rowCount()) + " rows" +
                 (mode == largest ? ", the largest view" : "") + ") row " + std::to_string(reached.row() + 1) + ", " +
                 named.toStdString());
}

// The window with the Event Flow pane open on the mission with a hub, once
// the pane's graph is built.
std::unique_ptr<Window> flow;

Window& FlowWindow() {
  if (!flow) {
    flow = std::make_unique<Window>(true);
    LoadAndWait(*flow, bench::SyntheticMissionFile(kMegabytes, {.hub = true}));
    auto* pane = flow->form->findChild<ui::EventFlowPane*>();
    QElapsedTimer clock;
    clock.start();
    LongestBlockUntil(clock, [&] { return pane->Graph() != nullptr; });
  }
  return *flow;
}

void BM_FlowNeighbourhood(benchmark::State& state) {
  Window& window = FlowWindow();
  auto* pane = window.form->findChild<ui::EventFlowPane*>();
  ModeEntry(*window.form, views::kModeEvents)->trigger();
  Settle(*window.form);
  auto* list = window.form->findChild<QTreeView*>(QStringLiteral("ListView1"));
  const int rows = list->model()->rowCount();
  const int row = state.range(0) == 0 ? 0 : rows / 2;  // event 0, or one in the middle
  const int other = state.range(0) == 0 ? rows / 2 : 2;
  const views::FlowGraph& graph = pane->Graph()->graph;
  const auto shown = [&](int listRow) {
    const std::optional<std::uint32_t> node = views::FindFlowNode(graph, views::kModeEvents, listRow + 1);
    return [pane, node] {
      return !pane->Layouter()->Busy() && pane->Picture() != nullptr && node &&
             pane->Picture()->part.origin.front() == *node;
    };
  };
  double longest = 0;
  for (auto _ : state) {
    state.PauseTiming();
    list->setCurrentIndex(list->model()->index(other, 0));
    QElapsedTimer before;
    before.start();
    LongestBlockUntil(before, shown(other));
    Settle(*window.form);
    state.ResumeTiming();
    QElapsedTimer clock;
    clock.start();
    list->setCurrentIndex(list->model()->index(row, 0));
    longest = std::max(longest, LongestBlockUntil(clock, shown(row)));
    Settle(*window.form);
  }
  state.counters["longest_block_ms"] = longest;
  const views::FlowPicture* picture = pane->Picture();
  state.counters["shown"] = picture ? static_cast<double>(picture->part.graph.nodes.size()) : 0;
  state.SetLabel("Events row " + std::to_string(row + 1) + " of " + std::to_string(rows) + ": " +
                 pane->findChild<QLabel*>(QStringLiteral("EventFlowInfo"))->text().toStdString());
}

void BM_SwitchToLaterView(benchmark::State& state) {
  // The windows of the benchmarks before are done with: their missions go
  // first, so that two large missions are never held at once.
  shared.reset();
  unsorted.reset();
  sortedByName.reset();
  flow.reset();
  if (!briefings) {
    briefings = std::make_unique<Window>();
    LoadAndWait(*briefings, BriefingsMissionPath());
  }
  const int mode = static_cast<int>(state.range(0));
  QAction* general = ModeEntry(*briefings->form, views::kModeGeneral);
  QAction* later = ModeEntry(*briefings->form, mode);
  for (auto _ : state) {
    state.PauseTiming();
    general->trigger();
    Settle(*briefings->form);
    state.ResumeTiming();
    later->trigger();
    Settle(*briefings->form);
  }
  const auto* list = briefings->form->findChild<QTreeView*>(QStringLiteral("ListView1"));
  state.SetLabel(mission::ToUtf8(views::ModeOf(mode).title) + ", " + std::to_string(list->model()->rowCount()) +
                 " rows");
}

BENCHMARK(BM_CoreLoad)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LoadToGeneral)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_SwitchToLargest)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_CollapseAndNode)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_SortLargest)->Unit(benchmark::kMillisecond)->Iterations(5)->Arg(0)->Arg(1);
BENCHMARK(BM_FindShipInEvents)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_LinkClick)->Unit(benchmark::kMillisecond)->Iterations(10)->Arg(0)->Arg(1)->Arg(2);
BENCHMARK(BM_FlowNeighbourhood)->Unit(benchmark::kMillisecond)->Iterations(5)->Arg(0)->Arg(1);
BENCHMARK(BM_SwitchToLaterView)->Unit(benchmark::kMillisecond)->Iterations(5)->DenseRange(9, 13);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  shared.reset();
  unsorted.reset();
  sortedByName.reset();
  briefings.reset();
  flow.reset();
  return 0;
}
