#include "support/TclassFileBase.h"

#include "support/IniFile.h"
#include "support/MessageService.h"

#include <QDate>
#include <QFile>

QString TclassFileBase::ReadIniString(const QString& fileName, const QString& section, const QString& key) const
{
    return IniFile(fileName).value(section, key);
}

void TclassFileBase::WriteIniString(const QString& fileName, const QString& section, const QString& key,
                                    const QString& value) const
{
    IniFile file(fileName);
    file.setValue(section, key, value);
    if (!file.save())
        showPlain(QStringLiteral("写InI文件错误，请查看输入信息是否正确！"));
}

QString TclassFileBase::dailyLogPath(const QString& folder)
{
    // Always yyyy-MM-dd: a short date format with slashes would make a path of folders.
    return folder + QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral("Log.Txt");
}

bool TclassFileBase::AppendToDailyLog(const QString& folder, const QString& text, QString* error) const
{
    QFile file(dailyLogPath(folder));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        if (error)
            *error = QStringLiteral("无法写入错误日志 %1：%2").arg(file.fileName(), file.errorString());
        return false;
    }
    const QByteArray bytes = encodeGbk(text);
    if (file.write(bytes) != bytes.size()) {
        if (error)
            *error = QStringLiteral("无法写入错误日志 %1：%2").arg(file.fileName(), file.errorString());
        return false;
    }
    file.close();
    return true;
}
