#pragma once

#include <QString>
#include <QStringList>

// A Windows INI file in the GBK code page, read and written key by key. Sections and keys are
// found without regard to letter case, as Windows does; values are text, blanks around them
// are not part of the value.
class IniFile {
public:
    // Reads the file; a missing or unreadable file reads as empty. Bytes that are not GBK
    // become replacement characters.
    explicit IniFile(const QString& path);

    QString value(const QString& section, const QString& key) const;
    void setValue(const QString& section, const QString& key, const QString& value);
    // Writes the whole file atomically (a failed write leaves the old file as it was).
    bool save(QString* error = nullptr) const;

private:
    int findSection(const QString& section) const;
    int findKey(int sectionLine, const QString& key) const;

    QString m_path;
    QStringList m_lines;
};

QString decodeGbk(const QByteArray& bytes);
QByteArray encodeGbk(const QString& text);
