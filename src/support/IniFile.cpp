#include "support/IniFile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

QString decodeGbk(const QByteArray& bytes)
{
    QStringDecoder decoder("GBK", QStringConverter::Flag::Stateless);
    if (!decoder.isValid())
        return QString::fromLocal8Bit(bytes);
    return decoder(bytes);
}

QByteArray encodeGbk(const QString& text)
{
    QStringEncoder encoder("GBK");
    if (!encoder.isValid())
        return text.toLocal8Bit();
    return encoder(text);
}

namespace {

bool isSectionHeader(const QString& trimmed)
{
    return trimmed.startsWith('[') && trimmed.endsWith(']');
}

QString sectionName(const QString& trimmed)
{
    return trimmed.mid(1, trimmed.size() - 2).trimmed();
}

bool isComment(const QString& trimmed)
{
    return trimmed.startsWith(';') || trimmed.startsWith('#');
}

} // namespace

IniFile::IniFile(const QString& path) : m_path(path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    QString text = decodeGbk(file.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace('\r', '\n');
    m_lines = text.split('\n');
    if (!m_lines.isEmpty() && m_lines.last().isEmpty())
        m_lines.removeLast();
}

int IniFile::findSection(const QString& section) const
{
    for (int i = 0; i < m_lines.size(); ++i) {
        const QString trimmed = m_lines[i].trimmed();
        if (isSectionHeader(trimmed) && sectionName(trimmed).compare(section, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int IniFile::findKey(int sectionLine, const QString& key) const
{
    for (int i = sectionLine + 1; i < m_lines.size(); ++i) {
        const QString trimmed = m_lines[i].trimmed();
        if (isSectionHeader(trimmed))
            break;
        if (isComment(trimmed))
            continue;
        const int equals = trimmed.indexOf('=');
        if (equals > 0 && trimmed.left(equals).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString IniFile::value(const QString& section, const QString& key) const
{
    const int sectionLine = findSection(section);
    if (sectionLine < 0)
        return {};
    const int keyLine = findKey(sectionLine, key);
    if (keyLine < 0)
        return {};
    const QString& line = m_lines[keyLine];
    return line.mid(line.indexOf('=') + 1).trimmed();
}

void IniFile::setValue(const QString& section, const QString& key, const QString& value)
{
    const QString line = key + '=' + value;
    int sectionLine = findSection(section);
    if (sectionLine < 0) {
        m_lines << '[' + section + ']' << line;
        return;
    }
    const int keyLine = findKey(sectionLine, key);
    if (keyLine >= 0) {
        m_lines[keyLine] = line;
        return;
    }
    int insertAt = sectionLine + 1;
    while (insertAt < m_lines.size() && !isSectionHeader(m_lines[insertAt].trimmed()))
        ++insertAt;
    // Keep blank lines that separate sections after the new key.
    while (insertAt > sectionLine + 1 && m_lines[insertAt - 1].trimmed().isEmpty())
        --insertAt;
    m_lines.insert(insertAt, line);
}

bool IniFile::save(QString* error) const
{
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    file.write(encodeGbk(m_lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}
