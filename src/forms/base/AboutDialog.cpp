#include "AboutDialog.h"

#include "core/AppInfo.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

AboutDialog::AboutDialog(QWidget* parent) : BaseForm(parent)
{
    setObjectName(QStringLiteral("Tfrm_sys_about"));
    setWindowTitle(QStringLiteral("关于"));
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(AppInfo::title, this);
    QFont big = title->font();
    big.setPixelSize(20);
    big.setBold(true);
    title->setFont(big);
    layout->addWidget(title);
    layout->addWidget(new QLabel(QStringLiteral("客户资料、联系人、联系记录、服务记录与附件的管理"), this));
    layout->addWidget(new QLabel(QStringLiteral("主页：%1").arg(AppInfo::homePage), this));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}
