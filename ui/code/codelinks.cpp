#include "ui/code/codelinks.h"

#include <QMouseEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include "ui/code/codemarks.h"
#include "ui/common/qtext.h"

namespace ui {

CodeLinkFollower::CodeLinkFollower(QTextEdit* sexp, QTextEdit* parsed, QObject* parent)
    : QObject(parent), sexp_(sexp), parsed_(parsed) {
  for (QTextEdit* window : {sexp_, parsed_}) {
    connect(window, &QObject::destroyed, this, [this] { closing_ = true; });
    window->viewport()->installEventFilter(this);
    window->viewport()->setMouseTracking(true);
    connect(window->document(), &QTextDocument::contentsChanged, this, [this] {
      stale_ = true;
      underlined_ = nullptr;
      pressed_ = nullptr;
    });
  }
}

void CodeLinkFollower::SetMission(std::shared_ptr<const mission::Mission> mission) {
  mission_ = std::move(mission);
  names_.reset();
  find_ = nullptr;
  stale_ = true;
  underlined_ = nullptr;
  pressed_ = nullptr;
}

void CodeLinkFollower::TakeNames(const mission::Mission* mission, std::shared_ptr<const views::NameRows> names) {
  if (mission == mission_.get() && !names_) names_ = std::move(names);
}

void CodeLinkFollower::SetLinkFinder(LinkFinder find) {
  find_ = std::move(find);
  stale_ = true;
  Underline(sexp_, nullptr);
  parsed_->viewport()->unsetCursor();
  pressed_ = nullptr;
}

void CodeLinkFollower::Update() {
  if (!stale_) return;
  stale_ = false;
  links_ = {};
  if (!mission_) return;
  // The documents hold a line break as one character, as their positions count.
  const mission::Text sexp = FromQString(sexp_->document()->toPlainText());
  const mission::Text parsed = FromQString(parsed_->document()->toPlainText());
  if (find_) {
    links_ = find_(sexp, parsed);
    return;
  }
  if (!names_) names_ = std::make_shared<const views::NameRows>(views::NameRows::Build(*mission_));
  links_ = views::FindCodeLinks(sexp, parsed, *names_);
}

const views::CodeLink* CodeLinkFollower::LinkUnder(QTextEdit* window, QPoint at) {
  Update();
  const std::vector<views::CodeLink>& links = window == sexp_ ? links_.sexp : links_.parsed;
  if (links.empty()) return nullptr;
  // The caret position nearest the point lies between two characters; the
  // character under the point is the one whose box holds it, if any (beyond
  // the end of a line there is none).
  QTextCursor caret = window->cursorForPosition(at);
  const QRect nearest = window->cursorRect(caret);
  const int position = caret.position() - (at.x() < nearest.left() ? 1 : 0);
  const QTextBlock block = window->document()->findBlock(position);
  if (position < block.position() || position >= block.position() + block.length() - 1) return nullptr;
  caret.setPosition(position);
  const QRect left = window->cursorRect(caret);
  caret.setPosition(position + 1);
  const QRect right = window->cursorRect(caret);
  if (at.x() < left.left() || at.x() >= right.left() || at.y() < left.top() || at.y() > left.bottom()) return nullptr;
  return views::LinkAt(links, static_cast<std::size_t>(position));
}

void CodeLinkFollower::Underline(QTextEdit* window, const views::CodeLink* link) {
  if (link == underlined_) return;
  for (QTextEdit* w : {sexp_, parsed_}) {
    if (w != window || link == nullptr) SetCodeMarks(w, CodeMark::kLink, {});
  }
  underlined_ = link;
  if (link == nullptr) {
    window->viewport()->unsetCursor();
    return;
  }
  QTextEdit::ExtraSelection selection;
  selection.cursor = QTextCursor(window->document());
  selection.cursor.setPosition(static_cast<int>(link->start));
  selection.cursor.setPosition(static_cast<int>(link->start + link->length), QTextCursor::KeepAnchor);
  selection.format.setFontUnderline(true);  // nothing else: the link keeps its colours
  SetCodeMarks(window, CodeMark::kLink, {selection});
  window->viewport()->setCursor(Qt::PointingHandCursor);
}

bool CodeLinkFollower::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::MouseMove && type != QEvent::Leave && type != QEvent::MouseButtonPress &&
      type != QEvent::MouseButtonRelease)
    return QObject::eventFilter(watched, event);
  // A window being destroyed is a QTextEdit no more, and is left alone.
  auto* window = qobject_cast<QTextEdit*>(watched->parent());
  if (closing_ || (window != sexp_ && window != parsed_)) return QObject::eventFilter(watched, event);
  switch (type) {
    case QEvent::MouseMove: {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      // While a selection is dragged, nothing is a link.
      Underline(window, mouse->buttons() == Qt::NoButton ? LinkUnder(window, mouse->position().toPoint()) : nullptr);
      break;
    }
    case QEvent::Leave:
      Underline(window, nullptr);
      break;
    case QEvent::MouseButtonPress: {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      pressed_ = mouse->button() == Qt::LeftButton ? LinkUnder(window, mouse->position().toPoint()) : nullptr;
      break;
    }
    case QEvent::MouseButtonRelease: {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      const views::CodeLink* link = pressed_;
      pressed_ = nullptr;
      // A click, not the end of a selection dragged from a link.
      if (link == nullptr || mouse->button() != Qt::LeftButton || window->textCursor().hasSelection() ||
          LinkUnder(window, mouse->position().toPoint()) != link)
        break;
      const views::Location target = link->target;
      Underline(window, nullptr);
      if (target.file != 0) {
        emit missionLinkClicked(target.file, target.mode, static_cast<int>(target.row));
      } else {
        emit linkClicked(target.mode, static_cast<int>(target.row));
      }
      return true;
    }
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace ui
