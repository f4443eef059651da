#include "controls/TaggedGroupBox.h"

TaggedGroupBox::TaggedGroupBox(QWidget* parent) : QGroupBox(parent) {}

TaggedGroupBox::TaggedGroupBox(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {}
