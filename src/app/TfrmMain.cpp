#include "app/TfrmMain.h"

#include "app/TLoadForm.h"
#include "app/Tclass_ctr_form.h"
#include "app/TclassNameChange.h"
#include "controls/AppFont.h"
#include "data/DataModule.h"
#include "residents/ascidnum.h"
#include "support/SharedValues.h"
#include "support/TclassAllClass.h"
#include "support/TclassFormBase.h"

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QShowEvent>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace {
TfrmMain* g_main = nullptr;
const QColor kBarColour(240, 251, 255);
} // namespace

TfrmMain* TfrmMain::current()
{
    return g_main;
}

TfrmMain::TfrmMain(QWidget* parent) : QMainWindow(parent)
{
    g_main = this;
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("栖棠居务"));
    setFont(programFont());
    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("MdiArea"));
    m_mdi->setBackground(QColor(0xC9, 0xD3, 0xDD));
    setCentralWidget(m_mdi);

    for (const FunctionEntry& entry : TclassNameChange::entries()) {
        auto* act = new QAction(QIcon(entry.icon), entry.actionCaption, this);
        act->setObjectName(entry.actionName);
        act->setProperty("category", entry.category);
        if (!entry.shortcut.isEmpty()) {
            act->setShortcut(QKeySequence(entry.shortcut));
            act->setShortcutContext(Qt::ApplicationShortcut);
        }
        m_actions << act;
        addAction(act);
    }
    buildToolbar();
    buildStatusBar();
    FormCreate();
    TclassAllClass::get<TclassFormBase>().setMainWindow(this);
}

TfrmMain::~TfrmMain()
{
    FormDestroy();
    if (g_main == this)
        g_main = nullptr;
}

QAction* TfrmMain::action(const QString& name) const
{
    for (QAction* act : m_actions)
        if (act->objectName() == name)
            return act;
    return nullptr;
}

void TfrmMain::buildToolbar()
{
    m_toolbar = new QToolBar(this);
    m_toolbar->setObjectName(QStringLiteral("ToolBar1"));
    m_toolbar->setMovable(false);
    m_toolbar->setFloatable(false);
    m_toolbar->setIconSize(QSize(32, 32));
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_toolbar->setContextMenuPolicy(Qt::PreventContextMenu);
    m_toolbar->setStyleSheet(QStringLiteral("QToolBar#ToolBar1 { background: rgb(240,251,255); border: none;"
                                            " border-bottom: 1px solid #c5d7e6; spacing: 0px; padding: 2px; }"
                                            "QToolButton { min-width: 67px; max-width: 67px; min-height: 51px;"
                                            " max-height: 51px; border: 1px solid transparent; border-radius: 3px; }"
                                            "QToolButton:hover { background: #dcecf8; border-color: #a9c7e2; }"
                                            "QToolButton:pressed { background: #c8def2; }"
                                            "QToolButton:disabled { color: #9aa5b1; }"));
    addToolBar(Qt::TopToolBarArea, m_toolbar);

    // btnStart carries the home page action; it is never visible and pressed by the program.
    btnStart = new QToolButton(m_toolbar);
    btnStart->setObjectName(QStringLiteral("btnStart"));
    btnStart->setDefaultAction(action(QStringLiteral("act_base_maintp")));
    m_toolbar->addWidget(btnStart)->setVisible(false);

    const QStringList layout = {"act_change_pwd", "act_bm", "|", "act_client_fw", "act_client_into", "|",
                                "act_other_khsj", "act_wy_fwgs", "|", "act_qry_rz", "act_qry_tf1", "|",
                                "act_databack", "act_datarestore", "|", "act_help_about", "act_close"};
    for (const QString& name : layout) {
        if (name == QLatin1String("|")) {
            m_toolbar->addSeparator();
            continue;
        }
        m_toolbar->addAction(action(name));
        if (auto* button = qobject_cast<QToolButton*>(m_toolbar->widgetForAction(action(name))))
            button->setObjectName(QStringLiteral("btn_") + name);
    }
}

void TfrmMain::buildStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(true);
    bar->setStyleSheet(QStringLiteral("QStatusBar#StatusBar1 { background: rgb(240,251,255); border-top: 1px solid #c5d7e6; }"
                                      "QStatusBar::item { border: none; }"
                                      "QLabel { border-right: 1px solid #c5d7e6; padding: 0 6px; }"));
    const QList<QPair<int, QString>> panels = {{300, QStringLiteral("当前窗体：")},
                                               {150, QStringLiteral("操作员：")},
                                               {250, QStringLiteral("登录时间：")},
                                               {150, QStringLiteral("服务器：")}};
    for (int i = 0; i < panels.size(); ++i) {
        auto* label = new QLabel(panels[i].second, bar);
        label->setObjectName(QStringLiteral("StatusPanel%1").arg(i + 1));
        label->setFixedWidth(panels[i].first);
        bar->addWidget(label);
        m_panels << label;
    }
}

void TfrmMain::setPanelText(int panel, const QString& text)
{
    if (panel >= 0 && panel < m_panels.size())
        m_panels[panel]->setText(text);
}

QString TfrmMain::panelText(int panel) const
{
    return panel >= 0 && panel < m_panels.size() ? m_panels[panel]->text() : QString();
}

void TfrmMain::FormCreate()
{
    Tclass_ctr_form& dispatcher = TclassAllClass::get<Tclass_ctr_form>();
    for (QAction* act : m_actions) {
        connect(act, &QAction::triggered, this, [act, &dispatcher] { dispatcher.Dispatch(act); });
        // A function whose window is not part of the program yet is shown, but cannot be run.
        act->setEnabled(dispatcher.canRun(act->objectName()));
    }
}

void TfrmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    // Let the frame paint before the login dialog comes over it.
    QTimer::singleShot(0, this, [this] { FormShow(); });
}

void TfrmMain::FormShow()
{
    TclassAllClass::get<TclassFormBase>().ShowForm(std::make_unique<TLoadForm>(), QString());
    if (Shared().LoginCancelled)
        return;
    LoadRegionCodes(Shared().applicationFolder + QStringLiteral("regioncode.dat"));
    // Pressing btnStart runs the home page through the dispatcher like every other function.
    btnStart->defaultAction()->trigger();
}

void TfrmMain::FormDestroy()
{
    if (!DM || !DM->ADO.connected())
        return;
    try {
        DM->WriteOperationLog(Shared().OperatorName, QStringLiteral("用户下线"));
    } catch (...) {
    }
}
