#include "data/DataChecks.h"

#include "data/Dataset.h"
#include "support/MessageService.h"

#include <QRegularExpression>

bool CheckNotEmpty(const QString& value, const QString& label)
{
    if (!value.trimmed().isEmpty())
        return true;
    showInfo(label + QStringLiteral("不能为空！"));
    return false;
}

bool CheckAllNotEmpty(const QStringList& values, const QStringList& labels)
{
    for (int i = 0; i < values.size(); ++i)
        if (!CheckNotEmpty(values[i], i < labels.size() ? labels[i] : QString()))
            return false;
    return true;
}

namespace {

bool parseNumeric(const QString& text, double* value)
{
    static const QRegularExpression number(QStringLiteral(R"(^\s*[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?\s*$)"));
    const QString t = text.isEmpty() ? QStringLiteral("0") : text;
    if (!number.match(t).hasMatch())
        return false;
    bool ok = false;
    const double parsed = t.trimmed().toDouble(&ok);
    if (value)
        *value = parsed;
    return ok;
}

} // namespace

bool CheckNumeric(const QString& text)
{
    if (parseNumeric(text, nullptr))
        return true;
    showInfo(QStringLiteral("输入不正确，请输入数值型！"));
    return false;
}

double NumericValue(const QString& text)
{
    double value = 0;
    return parseNumeric(text, &value) ? value : 0;
}

void ReopenQuery(Dataset& query)
{
    query.close();
    query.open();
}

void PostQuery(Dataset& query)
{
    query.post();
}

void PostAndReopen(Dataset& query)
{
    query.post();
    query.close();
    query.open();
}

QString PadDateParts(int partKind, const QString& text, bool wholeDate)
{
    auto year = [](const QString& y) { return y.size() == 2 ? QStringLiteral("20") + y : y; };
    auto monthOrDay = [](const QString& p) { return p.size() == 1 ? QStringLiteral("0") + p : p; };
    if (wholeDate) {
        const QStringList parts = text.split('-');
        if (parts.size() != 3)
            return text;
        return year(parts[0]) + monthOrDay(parts[1]) + monthOrDay(parts[2]);
    }
    if (partKind == 0)
        return year(text);
    if (partKind == 1)
        return monthOrDay(text);
    return text;
}
