#include "app/Tclass_ctr_form.h"

#include "app/TclassNameChange.h"
#include "app/TfrmMain.h"
#include "app/TfrmMain_tp.h"
#include "app/TfrmWelcome.h"
#include "app/WindowRegistry.h"
#include "controls/Guarded.h"
#include "data/DataModule.h"
#include "support/SharedValues.h"
#include "support/TclassAllClass.h"
#include "support/TclassFormBase.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace {
constexpr int kHomePage = 68;
constexpr int kAbout = 22;
constexpr int kExit = 41;
} // namespace

Tclass_ctr_form::Tclass_ctr_form()
{
    registerProgramWindows(*this);
}

bool Tclass_ctr_form::canRun(const QString& actionName) const
{
    const int code = TclassAllClass::get<TclassNameChange>().NameToCode(actionName);
    return code == kHomePage || code == kAbout || code == kExit || m_windows.contains(code);
}

void Tclass_ctr_form::Dispatch(QAction* action)
{
    if (action)
        Dispatch(action->objectName());
}

void Tclass_ctr_form::Dispatch(const QString& actionName)
{
    if (!canRun(actionName))
        return;
    runGuarded([&] {
        SharedValues& shared = Shared();
        const TclassNameChange& names = TclassAllClass::get<TclassNameChange>();
        shared.PreviousFunctionCode = shared.CurrentFunctionCode;
        shared.CurrentFunctionCode = names.NameToCode(actionName);
        shared.CurrentFunctionCaption = names.NameToCaption(actionName);
        if (DM)
            DM->WriteOperationLog(shared.OperatorName, shared.CurrentFunctionCaption);
        if (TfrmMain* main = TfrmMain::current())
            main->setPanelText(0, QStringLiteral("当前窗体：") + shared.CurrentFunctionCaption);
        TclassFormBase& opener = TclassAllClass::get<TclassFormBase>();
        switch (shared.CurrentFunctionCode) {
        case kHomePage: OpenHomePage(); break;
        case kAbout: opener.ShowForm(std::make_unique<TfrmWelcome>(), QString()); break;
        case kExit: CloseAllWindows(); break;
        default: opener.ShowForm(m_windows.value(shared.CurrentFunctionCode)(), shared.CurrentFunctionCaption); break;
        }
    });
}

void Tclass_ctr_form::OpenHomePage()
{
    if (DM)
        DM->CancelSharedEdits();
    SharedValues& shared = Shared();
    if (shared.CurrentChildWindow)
        shared.CurrentChildWindow->close();
    TfrmMain* main = TfrmMain::current();
    if (!main)
        return;
    auto* page = new TfrmMain_tp;
    QMdiSubWindow* child = main->mdiArea()->addSubWindow(page, Qt::SubWindow | Qt::WindowTitleHint |
                                                                   Qt::WindowMinMaxButtonsHint);
    child->setObjectName(QStringLiteral("frmMain_tp"));
    child->setAttribute(Qt::WA_DeleteOnClose);
    child->setWindowTitle(shared.CurrentFunctionCaption);
    child->setWindowIcon(QIcon(QStringLiteral(":/icons/home.svg")));
    shared.CurrentChildWindow = child; // cleared by QPointer when the child goes
    child->showMaximized();
}

void Tclass_ctr_form::CloseAllWindows()
{
    TfrmMain* main = TfrmMain::current();
    if (!main)
        return;
    const QList<QMdiSubWindow*> children = main->mdiArea()->subWindowList();
    for (QMdiSubWindow* child : children)
        child->close();
    main->close();
}
