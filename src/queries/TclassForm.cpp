#include "queries/TclassForm.h"

#include "controls/DataGrid.h"
#include "queries/GridWorkbook.h"
#include "support/DocumentOpener.h"
#include "support/MessageService.h"
#include "support/SharedValues.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QPointer>
#include <QProgressDialog>
#include <QTemporaryFile>
#include <QThread>
#include <cerrno>
#include <cstdio>
#include <memory>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

void showWriteFailure(const QString& path, const QString& reason)
{
    showWarning(QStringLiteral("导出文件写入失败！\n文件：%1\n原因：%2").arg(QDir::toNativeSeparators(path), reason));
}

// Why no file can be created in the folder, as far as the folder itself tells.
QString folderReason(const QString& folder, int systemError)
{
    const QFileInfo info(folder);
    if (!info.exists())
        return QStringLiteral("文件夹不存在");
    if (!info.isDir())
        return QStringLiteral("路径不是文件夹");
    const QString system = systemErrorReason(systemError);
    if (!system.isEmpty())
        return system;
    if (!info.isWritable())
        return QStringLiteral("没有写入权限");
    return QStringLiteral("无法在该文件夹中创建文件");
}

// Puts the finished file in the place of the old one in one step, so that the old file stays
// whole until the new one is complete.
bool replaceFile(const QString& from, const QString& to, QString* reason)
{
#ifdef Q_OS_WIN
    if (MoveFileExW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(from).utf16()),
                    reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(to).utf16()),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    const DWORD error = GetLastError();
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED)
        *reason = QStringLiteral("文件正被其他程序打开，请先在电子表格程序中关闭它");
    else
        *reason = QStringLiteral("无法替换原有文件（错误代码 %1）").arg(error);
    return false;
#else
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    const QString system = systemErrorReason(errno);
    *reason = system.isEmpty() ? QStringLiteral("无法替换原有文件") : system;
    return false;
#endif
}

// Runs the job on a worker thread while the window keeps handling events.
void runWithEventsFlowing(const std::function<void()>& job)
{
    std::unique_ptr<QThread> worker(QThread::create(job));
    QEventLoop loop;
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    loop.exec();
    worker->wait();
}

} // namespace

QString TclassForm::exportPath()
{
    return Shared().rootFolder + QStringLiteral("book1.xlsx");
}

bool TclassForm::ExportGrid(DataGrid& grid)
{
    const QString target = exportPath();
    GridWorkbook workbook(grid);
    const int records = workbook.recordCount();
    if (records > GridWorkbook::maximumRecords()) {
        showWarning(QStringLiteral("共有 %1 条记录，超过了工作表的行数上限 %2，无法导出。")
                        .arg(records)
                        .arg(GridWorkbook::maximumRecords()));
        return false;
    }

    // The workbook is written beside the target under a temporary name and takes the target's
    // place only when complete; a failed or cancelled export leaves the old file as it was.
    const QString folder = QFileInfo(target).absolutePath();
    QTemporaryFile partial(folder + QStringLiteral("/book1.xlsx.XXXXXX"));
    errno = 0;
    if (!partial.open()) {
        showWriteFailure(target, folderReason(folder, errno));
        return false;
    }
    partial.close();
    partial.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    QString reason;
    if (!workbook.begin(partial.fileName(), &reason)) {
        showWriteFailure(target, reason);
        return false;
    }

    // The dialog belongs to the window; should the window go while events run, so does the dialog.
    QPointer<QProgressDialog> progress;
    const struct CloseOnReturn {
        QPointer<QProgressDialog>& dialog;
        ~CloseOnReturn() { delete dialog.data(); }
    } closeOnReturn{progress};
    if (records >= kProgressRecords) {
        progress = new QProgressDialog(QStringLiteral("正在导出 %1 条记录……").arg(records), QStringLiteral("取消"), 0,
                                       records, grid.window());
        progress->setWindowTitle(QStringLiteral("导出数据"));
        progress->setWindowModality(Qt::ApplicationModal);
        progress->setMinimumDuration(0);
        progress->setAutoClose(false);
        progress->setAutoReset(false);
        progress->show();
        QApplication::processEvents();
    }
    const bool withProgress = progress;
    const auto goOn = [&](int done) {
        if (!withProgress)
            return true;
        if (!progress || progress->wasCanceled())
            return false;
        progress->setValue(done);
        QApplication::processEvents();
        return progress && !progress->wasCanceled();
    };
    switch (workbook.writeRows(kProgressStep, goOn, &reason)) {
    case GridWorkbook::Outcome::Written:
        break;
    case GridWorkbook::Outcome::Stopped:
        return false; // cancelled, or the list went away while events ran
    case GridWorkbook::Outcome::Failed:
        delete progress.data();
        showWriteFailure(target, reason);
        return false;
    }

    bool written = false;
    if (withProgress) {
        progress->setLabelText(QStringLiteral("正在保存文件……"));
        progress->setRange(0, 0);
        runWithEventsFlowing([&] { written = workbook.finish(&reason); });
        if (!progress || progress->wasCanceled())
            return false;
        delete progress.data();
    } else {
        written = workbook.finish(&reason);
    }
    if (!written) {
        showWriteFailure(target, reason);
        return false;
    }
    if (!replaceFile(partial.fileName(), target, &reason)) {
        showWriteFailure(target, reason);
        return false;
    }
    partial.setAutoRemove(false);

    if (!documentOpener().open(target)) {
        showInfo(QStringLiteral("未发现安装了 Excel !"), QStringLiteral("提示信息"));
        return false;
    }
    return true;
}
