#include "controls/WidgetMessageService.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

MsgAnswer WidgetMessageService::show(const QString& text, const QString& title, MsgButtons buttons, MsgIcon icon)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title);
    box.setText(text);
    switch (icon) {
    case MsgIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MsgIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MsgIcon::Error: box.setIcon(QMessageBox::Critical); break;
    }
    QPushButton* yes = nullptr;
    QPushButton* ok = nullptr;
    switch (buttons) {
    case MsgButtons::Ok: ok = box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole); break;
    case MsgButtons::YesNo:
        yes = box.addButton(QStringLiteral("是(&Y)"), QMessageBox::YesRole);
        box.setEscapeButton(box.addButton(QStringLiteral("否(&N)"), QMessageBox::NoRole));
        break;
    case MsgButtons::OkCancel:
        ok = box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
        box.setEscapeButton(box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole));
        break;
    }
    box.exec();
    if (buttons == MsgButtons::YesNo)
        return box.clickedButton() == yes ? MsgAnswer::Yes : MsgAnswer::No;
    if (buttons == MsgButtons::OkCancel)
        return box.clickedButton() == ok ? MsgAnswer::Ok : MsgAnswer::Cancel;
    return MsgAnswer::Ok;
}
