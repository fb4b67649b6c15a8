#include "ui/follow/referencespane.h"

#include <QHeaderView>
#include <QLabel>
#include <QTreeView>
#include <QVBoxLayout>

#include "ui/common/fonts.h"

#include "ui/common/qtext.h"
#include "ui/follow/referenceindexer.h"

namespace ui {

// --- ReferencesModel ---

void ReferencesModel::SetReferences(const std::vector<views::Reference>& references) {
  beginResetModel();
  entries_.clear();
  entries_.reserve(references.size());
  for (const views::Reference& r : references)
    entries_.push_back({ToQString(views::ReferenceWhere(r)), ShownText(mission::TrimBlankView(r.line)), r.row});
  endResetModel();
}

views::Location ReferencesModel::LocationAt(int row) const {
  if (row < 0 || static_cast<std::size_t>(row) >= entries_.size()) return {};
  return entries_[static_cast<std::size_t>(row)].at;
}

int ReferencesModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

int ReferencesModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 2; }

QVariant ReferencesModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
  const Entry& e = entries_[static_cast<std::size_t>(index.row())];
  return index.column() == 0 ? e.where : e.line;
}

QVariant ReferencesModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  if (section == 0) return QStringLiteral("Where");
  if (section == 1) return QStringLiteral("Line");
  return {};
}

// --- ReferencesPane ---

ReferencesPane::ReferencesPane(const ReferenceIndexer* indexer, QWidget* parent)
    : QDockWidget(QStringLiteral("References"), parent),
      indexer_(indexer),
      summary_(new QLabel),
      list_(new QTreeView),
      model_(new ReferencesModel(this)) {
  setObjectName(QStringLiteral("ReferencesPane"));
  setFont(TahomaFont());
  summary_->setObjectName(QStringLiteral("ReferencesSummary"));
  summary_->setTextFormat(Qt::PlainText);
  list_->setObjectName(QStringLiteral("ReferencesList"));
  list_->setModel(model_);
  list_->setRootIsDecorated(false);
  list_->setItemsExpandable(false);
  list_->setUniformRowHeights(true);
  list_->setAllColumnsShowFocus(true);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->header()->setStretchLastSection(true);
  list_->setColumnWidth(0, 280);

  auto* body = new QWidget;
  auto* column = new QVBoxLayout(body);
  column->setContentsMargins(4, 2, 4, 4);
  column->addWidget(summary_);
  column->addWidget(list_, 1);
  setWidget(body);
  setVisible(false);

  const auto activate = [this](const QModelIndex& index) {
    if (index.isValid()) emit placeActivated(model_->LocationAt(index.row()));
  };
  connect(list_, &QAbstractItemView::clicked, this, activate);
  connect(list_, &QAbstractItemView::activated, this, activate);
  connect(indexer_, &ReferenceIndexer::indexReady, this, &ReferencesPane::IndexReady);
  connect(indexer_, &ReferenceIndexer::indexDropped, this, &ReferencesPane::IndexDropped);
}

QString ReferencesPane::Looking() const {
  return variable_ ? QStringLiteral("Looking for the places that use the variable \"%1\"...").arg(ToQString(name_))
                   : QStringLiteral("Looking for the places that name \"%1\"...").arg(ToQString(name_));
}

void ReferencesPane::Find(mission::TextView name, bool variable) {
  name_ = name;
  variable_ = variable;
  show();
  raise();
  if (const views::ReferenceIndex* index = indexer_->Index()) {
    waiting_ = false;
    List(*index);
    return;
  }
  waiting_ = true;
  model_->SetReferences({});
  summary_->setText(Looking());
}

void ReferencesPane::IndexReady() {
  if (!waiting_) return;
  waiting_ = false;
  if (const views::ReferenceIndex* index = indexer_->Index()) List(*index);
}

void ReferencesPane::IndexDropped() {
  // The places listed belong to a mission that is going; the name shown is
  // looked up again in the next one once its index is ready.
  model_->SetReferences({});
  waiting_ = isVisible() && !name_.empty();
  if (waiting_) {
    summary_->setText(Looking());
  } else {
    summary_->clear();
  }
}

void ReferencesPane::List(const views::ReferenceIndex& index) {
  const std::vector<views::Reference> found = variable_ ? index.FindVariable(name_) : index.Find(name_);
  model_->SetReferences(found);
  const QString name = ToQString(name_);
  if (variable_) {
    if (found.empty()) {
      summary_->setText(QStringLiteral("No formula or message uses the variable \"%1\".").arg(name));
    } else if (found.size() == 1) {
      summary_->setText(QStringLiteral("1 place uses the variable \"%1\".").arg(name));
    } else {
      summary_->setText(QStringLiteral("%1 places use the variable \"%2\".").arg(found.size()).arg(name));
    }
  } else if (found.empty()) {
    summary_->setText(QStringLiteral("No formula names \"%1\".").arg(name));
  } else if (found.size() == 1) {
    summary_->setText(QStringLiteral("1 place names \"%1\".").arg(name));
  } else {
    const QString more = found.size() >= views::ReferenceIndex::kFindLimit ? QStringLiteral(" (the first)") : QString();
    summary_->setText(QStringLiteral("%1 places%2 name \"%3\".").arg(found.size()).arg(more, name));
  }
  if (!found.empty()) list_->setCurrentIndex(model_->index(0, 0));
}

}  // namespace ui
