#include "controls/GridColumn.h"

#include "data/DataSource.h"
#include "data/ValueConversion.h"

#include <QDateTime>
#include <QLocale>

GridColumn::GridColumn(const QString& name, const QString& caption, const QString& field, Kind kind, QObject* parent)
    : QObject(parent), m_caption(caption), m_field(field), m_kind(kind)
{
    setObjectName(name);
}

GridColumn& GridColumn::setCaption(const QString& caption)
{
    m_caption = caption;
    emit captionChanged();
    return *this;
}

GridColumn& GridColumn::setKind(Kind kind)
{
    m_kind = kind;
    emit contentChanged();
    return *this;
}

GridColumn& GridColumn::setVisible(bool visible)
{
    m_visible = visible;
    emit layoutChanged();
    return *this;
}

GridColumn& GridColumn::setWidth(int width)
{
    m_width = width;
    emit layoutChanged();
    return *this;
}

Qt::Alignment GridColumn::alignment() const
{
    if (m_alignmentSet)
        return m_alignment;
    switch (m_kind) {
    case Kind::Currency:
        return Qt::AlignRight | Qt::AlignVCenter;
    case Kind::CheckBox:
        return Qt::AlignCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

GridColumn& GridColumn::setAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment;
    m_alignmentSet = true;
    emit contentChanged();
    return *this;
}

GridColumn& GridColumn::setLookup(DataSource* source, const QString& keyField, const QString& displayField)
{
    if (m_lookupSource)
        disconnect(m_lookupSource, nullptr, this, nullptr);
    m_kind = Kind::Lookup;
    m_lookupSource = source;
    m_lookupKey = keyField;
    m_lookupDisplay = displayField;
    if (source) {
        connect(source, &DataSource::reset, this, &GridColumn::invalidateLookup);
        connect(source, &DataSource::datasetChanged, this, &GridColumn::invalidateLookup);
        connect(source, &DataSource::rowChanged, this, &GridColumn::invalidateLookup);
        connect(source, &DataSource::rowRemoved, this, &GridColumn::invalidateLookup);
    }
    invalidateLookup();
    return *this;
}

DataSource* GridColumn::lookupSource() const
{
    return m_lookupSource;
}

void GridColumn::invalidateLookup()
{
    m_lookupValid = false;
    m_lookupCache.clear();
    emit contentChanged();
}

QVariant GridColumn::lookup(const QVariant& key) const
{
    if (key.isNull() || !m_lookupSource)
        return {};
    if (!m_lookupValid) {
        m_lookupCache.clear();
        Dataset* rows = m_lookupSource->dataset();
        if (rows && rows->active()) {
            const int keyColumn = rows->fieldIndex(m_lookupKey);
            const int displayColumn = rows->fieldIndex(m_lookupDisplay);
            if (keyColumn >= 0 && displayColumn >= 0) {
                const int count = rows->state() == DatasetState::Insert ? rows->recordCount() - 1 : rows->recordCount();
                for (int row = 0; row < count; ++row) {
                    const QVariant rowKey = rows->valueAt(row, keyColumn);
                    if (rowKey.isNull())
                        continue;
                    const QString text = ValueConversion::toText(rowKey).toCaseFolded();
                    if (!m_lookupCache.contains(text)) // the first row with the key wins
                        m_lookupCache.insert(text, rows->valueAt(row, displayColumn));
                }
            }
        }
        m_lookupValid = true;
    }
    return m_lookupCache.value(ValueConversion::toText(key).toCaseFolded());
}

GridColumn& GridColumn::setFooterCount(const QString& format)
{
    m_footer = true;
    m_footerFormat = format;
    emit contentChanged();
    return *this;
}

GridColumn& GridColumn::clearFooter()
{
    m_footer = false;
    m_footerFormat.clear();
    emit contentChanged();
    return *this;
}

QString GridColumn::footerText(int count) const
{
    if (!m_footer)
        return {};
    if (m_footerFormat.isEmpty())
        return QString::number(count);
    if (m_footerFormat.contains(QLatin1String("%1")))
        return m_footerFormat.arg(count);
    return m_footerFormat;
}

QVariant GridColumn::shownValue(const QVariant& fieldValue) const
{
    switch (m_kind) {
    case Kind::Lookup:
        return lookup(fieldValue);
    case Kind::DateOnly: {
        if (fieldValue.isNull())
            return {};
        const QDateTime moment = fieldValue.typeId() == QMetaType::QDateTime
                                     ? fieldValue.toDateTime()
                                     : ValueConversion::parseDateTime(ValueConversion::toText(fieldValue));
        return moment.isValid() ? QVariant(moment.date()) : fieldValue;
    }
    default:
        return fieldValue;
    }
}

QString GridColumn::shownText(const QVariant& fieldValue) const
{
    const QVariant shown = shownValue(fieldValue);
    if (shown.isNull())
        return {};
    switch (m_kind) {
    case Kind::Currency: {
        bool ok = false;
        const double amount = shown.toDouble(&ok);
        if (!ok)
            return ValueConversion::toText(shown);
        static const QLocale chinese(QLocale::Chinese, QLocale::China);
        return chinese.toCurrencyString(amount, QStringLiteral("¥"), 2);
    }
    case Kind::CheckBox:
        return {};
    default:
        return ValueConversion::toText(shown);
    }
}
