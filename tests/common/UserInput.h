#pragma once

#include <QString>

class QWidget;

// Types the text into the widget as a user would: plain keys for ASCII, and the committed text
// of an input method for anything else (Chinese).
void typeText(QWidget* widget, const QString& text);
