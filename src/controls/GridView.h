#pragma once

#include <QStyledItemDelegate>
#include <QTableView>

class DatasetModel;

// The table inside a data grid. It hides the selection while it has no focus, draws check box
// columns with the mark centred, and lets Ctrl+End reach the last record of the dataset, not
// only the last row handed to the view so far. While the record is being edited the selection
// stays on it.
class GridView : public QTableView {
    Q_OBJECT
public:
    explicit GridView(QWidget* parent = nullptr);

    void setDatasetModel(DatasetModel* model);
    DatasetModel* datasetModel() const { return m_model; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;

private:
    bool recordLocked() const;

    DatasetModel* m_model = nullptr;
};

class GridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit GridDelegate(GridView* view);
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    GridView* m_view;
};
