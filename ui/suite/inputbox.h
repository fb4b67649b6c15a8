#pragma once
// The platform's text input box, and the seam through which dialogs ask it
// (tests answer in its place).
#include <functional>

#include <QString>

class QWidget;

namespace ui {

// Asks for one line of text. Cancelling gives the empty text.
QString InputBox(QWidget* parent, const QString& title, const QString& prompt, const QString& preset);

using InputBoxFunction =
    std::function<QString(QWidget* parent, const QString& title, const QString& prompt, const QString& preset)>;

}  // namespace ui
