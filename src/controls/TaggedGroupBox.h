#pragma once

#include <QGroupBox>

// A group box with an integer tag: one of the kinds that ToggleControls switches.
class TaggedGroupBox : public QGroupBox {
    Q_OBJECT
    Q_PROPERTY(int tag READ tag WRITE setTag)
public:
    explicit TaggedGroupBox(QWidget* parent = nullptr);
    TaggedGroupBox(const QString& caption, QWidget* parent = nullptr);

    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

private:
    int m_tag = 0;
};
