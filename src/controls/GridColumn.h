#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>

class DataSource;

// One column of a data grid: its name (what a window addresses it by), caption, bound field,
// how the value is shown, visibility, width, alignment and an optional row-count summary in
// the footer. Setters return the column so that a definition reads as one statement:
//     grid->addColumn("cxGridDBColumn3", "铺位编号", "code").setFooterCount("记录数：");
class GridColumn : public QObject {
    Q_OBJECT
public:
    enum class Kind {
        Plain,    // the field's own text
        DateOnly, // a date-time shown as "yyyy-MM-dd"
        Currency, // a number shown as money with two decimals
        CheckBox, // a boolean shown as a check mark
        Lookup,   // the display column of the row of another source whose key equals the field
    };

    GridColumn(const QString& name, const QString& caption, const QString& field, Kind kind, QObject* parent = nullptr);

    const QString& caption() const { return m_caption; }
    GridColumn& setCaption(const QString& caption);
    const QString& field() const { return m_field; }
    Kind kind() const { return m_kind; }
    GridColumn& setKind(Kind kind);
    bool isVisible() const { return m_visible; }
    GridColumn& setVisible(bool visible);
    // Width in pixels; 0 lets the grid size the column by its caption.
    int width() const { return m_width; }
    GridColumn& setWidth(int width);
    Qt::Alignment alignment() const;
    GridColumn& setAlignment(Qt::Alignment alignment);

    // A look-up column: shows `displayField` of the first row of `source` whose `keyField`
    // equals this column's field (texts compared without regard to case).
    GridColumn& setLookup(DataSource* source, const QString& keyField, const QString& displayField);
    DataSource* lookupSource() const;
    const QString& lookupKey() const { return m_lookupKey; }
    const QString& lookupDisplay() const { return m_lookupDisplay; }
    QVariant lookup(const QVariant& key) const;

    // A count of all rows in the footer under this column. "%1" in the format is replaced by
    // the count; a format without it is shown as a label; an empty format shows the number.
    GridColumn& setFooterCount(const QString& format = QString());
    GridColumn& clearFooter();
    bool hasFooter() const { return m_footer; }
    QString footerText(int count) const;

    // The value the column shows for a field value: looked up, cut to the date, or unchanged.
    QVariant shownValue(const QVariant& fieldValue) const;
    // The same as text.
    QString shownText(const QVariant& fieldValue) const;

signals:
    void captionChanged();
    void layoutChanged();  // visibility, width
    void contentChanged(); // kind, alignment, look-up rows

private:
    void invalidateLookup();

    QString m_caption;
    QString m_field;
    Kind m_kind;
    bool m_visible = true;
    int m_width = 0;
    Qt::Alignment m_alignment;
    bool m_alignmentSet = false;
    bool m_footer = false;
    QString m_footerFormat;
    QPointer<DataSource> m_lookupSource;
    QString m_lookupKey;
    QString m_lookupDisplay;
    mutable bool m_lookupValid = false;
    mutable QHash<QString, QVariant> m_lookupCache;
};
