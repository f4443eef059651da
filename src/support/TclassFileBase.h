#pragma once

#include <QString>

// Settings files and the daily error log (reached through TclassAllClass).
class TclassFileBase {
public:
    // The value of the key, or "" when the file, the section or the key is missing.
    QString ReadIniString(const QString& fileName, const QString& section, const QString& key) const;
    // Writes the key, creating file and section as needed; a failure shows
    // "写InI文件错误，请查看输入信息是否正确！" and returns normally.
    void WriteIniString(const QString& fileName, const QString& section, const QString& key, const QString& value) const;

    // The file of today's error log in the given folder: folder + "yyyy-MM-dd" + "Log.Txt".
    static QString dailyLogPath(const QString& folder);
    // Appends the text to today's error log, creating it when missing; the file is closed
    // after the write. False with the reason when the file cannot be written.
    bool AppendToDailyLog(const QString& folder, const QString& text, QString* error = nullptr) const;
};
