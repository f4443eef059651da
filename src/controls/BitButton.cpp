#include "controls/BitButton.h"

BitButton::BitButton(QWidget* parent) : QPushButton(parent) {}

BitButton::BitButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {}

BitButton::BitButton(const QIcon& glyph, const QString& caption, QWidget* parent) : QPushButton(glyph, caption, parent)
{
}
