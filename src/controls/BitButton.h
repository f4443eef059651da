#pragma once

#include <QPushButton>

// A push button with a caption, an optional glyph and an integer tag: one of the kinds that
// ToggleControls switches.
class BitButton : public QPushButton {
    Q_OBJECT
    Q_PROPERTY(int tag READ tag WRITE setTag)
public:
    explicit BitButton(QWidget* parent = nullptr);
    BitButton(const QString& caption, QWidget* parent = nullptr);
    BitButton(const QIcon& glyph, const QString& caption, QWidget* parent = nullptr);

    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

private:
    int m_tag = 0;
};
