// The main window on its own, with its dialogs answered from a script: the
// fixture of the window's tests.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QToolTip>
#include <QTreeView>
#include <deque>
#include <memory>
#include <optional>

#include "applib/ini.h"
#include "tests/ui/find_child.h"
#include "ui/common/qtext.h"
#include "ui/window/mainform.h"

namespace ui::testing {

inline const QString kSample = QStringLiteral(TORVEK_SOURCE_DIR "/samples/sample.fs2");

// The tooltip a list shows at `cell`; empty when it shows none (a cell
// shown whole).
inline QString ToolTipAt(QTreeView* list, const QModelIndex& cell) {
  const QPoint at = list->visualRect(cell).center();
  QHelpEvent event(QEvent::ToolTip, at, list->viewport()->mapToGlobal(at));
  QApplication::sendEvent(list->viewport(), &event);
  return event.isAccepted() && QToolTip::isVisible() ? QToolTip::text() : QString();
}

// Answers the window's dialogs from a script and records what was asked.
class ScriptedDialogs : public Dialogs {
 public:
  std::deque<QString> files;  // answers to OpenFile; empty = cancel
  QString lastDirectory, lastFilter;
  QStringList warnings;

  QString OpenFile(QWidget*, const QString& directory, const QString& filter) override {
    lastDirectory = directory;
    lastFilter = filter;
    if (files.empty()) return {};
    QString f = files.front();
    files.pop_front();
    return f;
  }
  void Warning(QWidget*, const QString&, const QString& text) override { warnings << text; }

  std::deque<bool> answers;  // to Question; No when they run out
  QStringList questions;
  bool Question(QWidget*, const QString&, const QString& text) override {
    questions << text;
    if (answers.empty()) return false;
    const bool yes = answers.front();
    answers.pop_front();
    return yes;
  }

  std::optional<Association> options;  // the Options dialog's answer; nothing = cancel
  std::optional<Association> optionsOpenedWith;
  std::optional<Association> Options(QWidget*, Association association) override {
    optionsOpenedWith = association;
    return options;
  }
};

class MainFormTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }

  FSMMainForm& Form() {
    if (!form) {
      form = std::make_unique<FSMMainForm>(dir.path(), &dialogs);
      form->resize(1000, 760);
      form->show();
      EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    return *form;
  }
  template <class T>
  T* Find(const char* name) {
    return FindChild<T>(Form(), name);
  }
  QAction* Action(const char* name) { return Find<QAction>(name); }
  QTreeView* List() { return Find<QTreeView>("ListView1"); }
  QTreeView* Tree() { return Find<QTreeView>("TreeView1"); }
  QTextEdit* Sexp() { return Find<QTextEdit>("RichTextBox1"); }
  QTextEdit* Parsed() { return Find<QTextEdit>("RichTextBox2"); }

  QString Setting(const char* section, const char* key) {
    return ToQString(applib::IniRead(FromQString(dir.path()), u"torvk32.ini", FromQString(section), FromQString(key)));
  }
  void SetSetting(const char* section, const char* key, const char* value) {
    applib::IniWrite(FromQString(dir.path()), u"torvk32.ini", FromQString(section), FromQString(key),
                     FromQString(value));
  }
  // Writes `bytes` into the file `name` of the test's folder; its path.
  QString WriteMission(const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()) << qPrintable(path);
    return path;
  }
  QString Cell(int row, int column) { return List()->model()->index(row, column).data().toString(); }
  int CurrentRow() { return List()->currentIndex().row(); }
  QString TreeTag() { return Tree()->currentIndex().data(Qt::UserRole).toString(); }
  // The first tree node with this tag, in the tree's order.
  QModelIndex NodeWithTag(const QString& tag, const QModelIndex& parent = {}) {
    QAbstractItemModel* m = Tree()->model();
    for (int r = 0; r < m->rowCount(parent); ++r) {
      const QModelIndex i = m->index(r, 0, parent);
      if (i.data(Qt::UserRole).toString() == tag) return i;
      if (const QModelIndex found = NodeWithTag(tag, i); found.isValid()) return found;
    }
    return {};
  }
  static void MouseMove(QWidget* w) {
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(w, &move);
  }
  // A left click delivered to the widget even while it is hidden.
  static void Click(QWidget* w) {
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
      QMouseEvent click(type, QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
                        type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
      QApplication::sendEvent(w, &click);
    }
  }
  // The middle of the character `offset` places into the first quoted
  // `name` of a code window, in its viewport's coordinates.
  static QPoint PointOf(QTextEdit* window, const QString& name, int offset = 1) {
    const int at = static_cast<int>(window->toPlainText().indexOf('"' + name + '"')) + 1 + offset;
    EXPECT_GT(at, offset) << qPrintable(name);
    QTextCursor cursor(window->document());
    cursor.setPosition(at);
    const QRect left = window->cursorRect(cursor);
    cursor.setPosition(at + 1);
    const QRect right = window->cursorRect(cursor);
    return {(left.left() + right.left()) / 2, left.center().y()};
  }
  static void Hover(QTextEdit* window, QPoint at) {
    QMouseEvent move(QEvent::MouseMove, QPointF(at), window->viewport()->mapToGlobal(QPointF(at)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(window->viewport(), &move);
  }
  // Hovers over the name (a link is found when the mouse comes), then clicks it.
  static void ClickName(QTextEdit* window, const QString& name) {
    const QPoint at = PointOf(window, name);
    Hover(window, at);
    QTest::mouseClick(window->viewport(), Qt::LeftButton, {}, at);
  }
  // The View menu's entry for `mode`.
  void ShowMode(int mode) { Action(qPrintable(QStringLiteral("MenuViewMode%1").arg(mode)))->trigger(); }
  // A mouse click on a tree node, scrolled into view first.
  void ClickNode(const QModelIndex& node) {
    Tree()->scrollTo(node);
    QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, {}, Tree()->visualRect(node).center());
  }
  // A mouse click on the list's column header.
  void ClickHeader(int column) {
    QHeaderView* header = List()->header();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
  }
  void Key(QKeySequence key) {
    QApplication::setActiveWindow(&Form());
    QTest::keySequence(&Form(), key);
  }

  QTemporaryDir dir;
  ScriptedDialogs dialogs;
  std::unique_ptr<FSMMainForm> form;
};

}  // namespace ui::testing
