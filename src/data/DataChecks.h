#pragma once

#include <QString>
#include <QStringList>

class Dataset;

// Checks of typed values; each shows its message (title "提示信息") when it fails.
// The value, blanks removed, is not empty; otherwise label + "不能为空！".
bool CheckNotEmpty(const QString& value, const QString& label);
// CheckNotEmpty on each pair in turn, stopping at the first failure (one message at most).
bool CheckAllNotEmpty(const QStringList& values, const QStringList& labels);
// A decimal number (sign, point and exponent allowed; empty counts as 0); otherwise
// "输入不正确，请输入数值型！".
bool CheckNumeric(const QString& text);
// The number CheckNumeric accepts, 0 for an empty text.
double NumericValue(const QString& text);

// Query object steps shared by the windows.
void ReopenQuery(Dataset& query);
void PostQuery(Dataset& query);
void PostAndReopen(Dataset& query);

// Date parts as eight digits or padded parts: kind 0 a year, 1 a month or day.
QString PadDateParts(int partKind, const QString& text, bool wholeDate);
