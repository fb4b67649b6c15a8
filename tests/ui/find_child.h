// The window tests reach widgets and actions by their object names.
#pragma once

#include <gtest/gtest.h>

#include <QObject>
#include <QString>

namespace ui::testing {

// The child of `root` named `name`; a missing one fails the test (and is null).
template <class T>
T* FindChild(const QObject& root, const char* name) {
  T* child = root.findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(child, nullptr) << name;
  return child;
}

}  // namespace ui::testing
