#include "support/TclassFormBase.h"

#include <QGuiApplication>
#include <QScreen>

void TclassFormBase::centre(QWidget* form) const
{
    if (!form)
        return;
    if (!form->testAttribute(Qt::WA_Resized))
        form->adjustSize();
    QRect over;
    if (m_mainWindow)
        over = m_mainWindow->frameGeometry();
    else if (const QScreen* screen = QGuiApplication::primaryScreen())
        over = screen->availableGeometry();
    if (over.isValid())
        form->move(over.center() - QPoint(form->width() / 2, form->height() / 2));
}

int TclassFormBase::ShowForm(std::unique_ptr<QDialog> form, const QString& caption)
{
    if (!form)
        return QDialog::Rejected;
    // The opener owns the window: it is freed here, never by closing.
    form->setAttribute(Qt::WA_DeleteOnClose, false);
    if (!caption.isEmpty())
        form->setWindowTitle(caption);
    centre(form.get());
    return form->exec();
}
