#include "app/TfrmWelcome.h"

#include "support/SharedValues.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSvgWidget>
#include <QVBoxLayout>

TfrmWelcome::TfrmWelcome(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TfrmWelcome"));
    setWindowTitle(QStringLiteral("关于..."));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    auto* picture = new QSvgWidget(QStringLiteral(":/pictures/about.svg"), this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setFixedSize(96, 96);
    auto* title = new QLabel(QStringLiteral("栖棠居务"), this);
    title->setObjectName(QStringLiteral("lblTitle"));
    QFont big = title->font();
    big.setPointSize(18);
    big.setBold(true);
    title->setFont(big);
    title->setStyleSheet(QStringLiteral("color: #2b4c6f;"));
    auto* version = new QLabel(QStringLiteral("Version 2010.8"), this);
    version->setObjectName(QStringLiteral("lblVersion"));
    auto* about = new QLabel(QStringLiteral("宿舍床位、住户入住与退房管理"), this);
    about->setObjectName(QStringLiteral("lblAbout"));
    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* texts = new QVBoxLayout;
    texts->addWidget(title);
    texts->addWidget(version);
    texts->addWidget(about);
    texts->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 18, 18, 12);
    layout->addLayout(top);
    layout->addWidget(ok, 0, Qt::AlignRight);
    setFixedSize(360, 180);
}

TfrmWelcome::~TfrmWelcome()
{
    Shared().CurrentFunctionCode = Shared().PreviousFunctionCode;
}
