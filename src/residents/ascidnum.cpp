#include "residents/ascidnum.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <utility>

namespace {

const QString kDistrictsGroup = QStringLiteral("市辖区");
const QString kCountiesGroup = QStringLiteral("县");

// The value of the digits s[pos .. pos+len-1]; the caller has checked they are digits.
int digitsValue(QStringView s, qsizetype pos, qsizetype len) {
    int value = 0;
    for (qsizetype i = pos; i < pos + len; ++i)
        value = value * 10 + (s[i].unicode() - u'0');
    return value;
}

// The value of code when it is one to nine plain digits, else -1. A single pass, because each
// search converts a dozen entry codes.
int plainDigitsValue(QStringView code) {
    if (code.isEmpty() || code.size() > 9)
        return -1;
    int value = 0;
    for (const QChar c : code) {
        const unsigned digit = c.unicode() - u'0';
        if (digit > 9)
            return -1;
        value = value * 10 + int(digit);
    }
    return value;
}

// A code as a number, or -1 when it is not a number.
int codeValue(QStringView code) {
    const int value = plainDigitsValue(code);
    if (value >= 0)
        return value;
    bool ok = false;
    const int converted = code.toInt(&ok);
    return ok ? converted : -1;
}

// Binary search for the entry whose code has the value key.
const QString* findByValue(int key, const TRegionCodeTransArray& table) {
    qsizetype low = 0;
    qsizetype high = table.size() - 1;
    while (high >= low) {
        const qsizetype middle = (low + high) / 2;
        const int value = codeValue(table[middle].Code);
        if (value == key)
            return &table[middle].Name;
        if (key < value)
            high = middle - 1;
        else
            low = middle + 1;
    }
    return nullptr;
}

bool isGroupingName(const QString& name) {
    return name == kDistrictsGroup || name == kCountiesGroup;
}

} // namespace

bool IsDigitChar(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool IsAllDigits(QStringView s) {
    return !s.isEmpty() && std::all_of(s.begin(), s.end(), IsDigitChar);
}

QChar GetCheckChar(QStringView s) {
    static constexpr std::array<int, 17> weights = {7, 9, 10, 5, 8, 4, 2, 1, 6, 3, 7, 9, 10, 5, 8, 4, 2};
    static constexpr char16_t checkChars[] = u"10X98765432";
    if (s.size() != 18 || !IsAllDigits(s.first(17)))
        return QChar(u' ');
    int sum = 0;
    for (int i = 0; i < 17; ++i)
        sum += (s[i].unicode() - u'0') * weights[i];
    return QChar(checkChars[sum % 11]);
}

bool ParseIDNumber(QStringView s, TIDNumInfo& info) {
    info = TIDNumInfo();
    const qsizetype n = s.size();
    if (n == 15) {
        if (!IsAllDigits(s))
            return false;
        info.IDKind = 0;
    } else if (n == 18) {
        const QChar last = s[17];
        if (!IsAllDigits(s.first(17)) || !(IsDigitChar(last) || last == u'X' || last == u'x'))
            return false;
        info.IDKind = 1;
    } else {
        return false;
    }

    info.RegionCode = s.first(6).toString();

    // A 15-character number carries a two-digit year of the 1900s.
    const bool shortForm = info.IDKind == 0;
    const int year = shortForm ? 1900 + digitsValue(s, 6, 2) : digitsValue(s, 6, 4);
    const qsizetype monthPos = shortForm ? 8 : 10;
    const QDate birth(year, digitsValue(s, monthPos, 2), digitsValue(s, monthPos + 2, 2));
    if (!birth.isValid()) // month 00 or 13, day 00, 30 February, year 0000 ...
        return false;
    info.BirthDate = birth;

    const int sexDigit = digitsValue(s, shortForm ? 14 : 16, 1);
    info.Sex = sexDigit % 2 == 1 ? 1 : 2;

    if (shortForm)
        return true;
    if (GetCheckChar(s) != s[17].toUpper())
        return false;
    info.CheckState = 2;
    return true;
}

QString FindRegionName(QStringView code, const TRegionCodeTransArray& table) {
    const int key = codeValue(code);
    if (key < 0)
        return QString();
    const QString* name = findByValue(key, table);
    return name ? *name : QString();
}

QString GetRegionNameIn(QStringView code, const TRegionCodeTransArray& table) {
    if (code.size() != 6 || !IsAllDigits(code) || table.isEmpty())
        return QString();
    const TSepRegionCode sep{code.sliced(0, 2).toString(), code.sliced(2, 2).toString(), code.sliced(4, 2).toString()};
    const int province = digitsValue(sep.Province, 0, 2);
    if (province <= 10)
        return QString();

    const int provinceKey = province * 10000;
    const QString* provinceName = findByValue(provinceKey, table);
    if (!provinceName)
        return QString();
    QString result = *provinceName;

    // A code that ends in "00" is its city's (or province's) own entry. Each entry's name is added
    // once: a level's name is added only when its entry differs from the level above.
    const int cityKey = provinceKey + digitsValue(sep.City, 0, 2) * 100;
    const QString* cityName = findByValue(cityKey, table);
    if (!cityName)
        return result;
    if (cityKey != provinceKey && !isGroupingName(*cityName))
        result += *cityName;

    const int countyKey = cityKey + digitsValue(sep.County, 0, 2);
    if (countyKey != cityKey) {
        const QString* countyName = findByValue(countyKey, table);
        if (countyName && !isGroupingName(*countyName))
            result += *countyName;
    }
    return result;
}

QString GetRegionName(QStringView code) {
    return GetRegionNameIn(code, RegionTable());
}

bool FillRegionName(TIDNumInfo& info) {
    QString name = GetRegionName(info.RegionCode);
    if (name.isEmpty())
        return false;
    info.RegionName = std::move(name);
    return true;
}

int SplitString(QStringView s, QChar separator, TStrArray& parts) {
    parts.clear();
    if (s.isEmpty())
        return 0;
    qsizetype fieldStart = 0;
    const qsizetype last = s.size() - 1;
    for (qsizetype i = 0; i <= last; ++i) {
        if (s[i] == separator) {
            parts.append(s.sliced(fieldStart, i - fieldStart).toString());
            fieldStart = i + 1;
            if (i == last)
                parts.append(QString());
        } else if (i == last) {
            parts.append(s.sliced(fieldStart).toString());
        }
    }
    return int(parts.size());
}

bool LoadRegionCodeFile(const QString& path, TRegionCodeTransArray& table) {
    table.clear();
    QFile file(path);
    if (!file.exists())
        return false;
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    // Line breaks and commas are single bytes that never occur inside a GBK character, so the
    // whole file can be decoded first and cut afterwards.
    QStringDecoder decoder("GBK");
    const QString text = decoder.decode(bytes);

    TStrArray parts;
    const QStringView all(text);
    qsizetype pos = 0;
    while (pos < all.size()) {
        qsizetype end = pos;
        while (end < all.size() && all[end] != u'\r' && all[end] != u'\n')
            ++end;
        const QStringView line = all.sliced(pos, end - pos);
        pos = end + 1;
        if (end < all.size() && all[end] == u'\r' && pos < all.size() && all[pos] == u'\n')
            ++pos;

        if (line.isEmpty() || line.front() == u'#')
            continue;
        if (SplitString(line, u',', parts) != 2)
            continue;
        if (parts[0].size() != 6 || !IsAllDigits(parts[0]) || parts[1].isEmpty())
            continue;
        table.append(TRegionCodeTransRec{parts[0], parts[1]});
    }

    // The lookup is a binary search; a file out of order must still find every code. Stable, so
    // of two equal codes the first in the file stays first.
    std::stable_sort(table.begin(), table.end(), [](const TRegionCodeTransRec& a, const TRegionCodeTransRec& b) {
        return digitsValue(a.Code, 0, 6) < digitsValue(b.Code, 0, 6);
    });
    return !table.isEmpty();
}

bool LoadRegionCodes(const QString& path) {
    return LoadRegionCodeFile(path, RegionTable());
}

TRegionCodeTransArray& RegionTable() {
    static TRegionCodeTransArray table;
    return table;
}
