#include "LoginDialog.h"

#include "core/ActionGuard.h"
#include "core/AppError.h"
#include "core/AppInfo.h"
#include "core/CurrentUser.h"
#include "core/Dataset.h"
#include "core/FieldCodes.h"
#include "core/Messages.h"
#include "core/QueryRunners.h"
#include "core/SqlText.h"
#include "widgets/KeyFilters.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QProxyStyle>
#include <QPushButton>

namespace {

// Password boxes echo "*".
class StarPasswordStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

}

LoginDialog::LoginDialog(QWidget* parent)
    : BaseDbForm(parent), edtbh(new QLineEdit(this)), edtpassword(new QLineEdit(this)),
      btnOk(new QPushButton(QStringLiteral("确  定"), this)), btnCancel(new QPushButton(QStringLiteral("退  出"), this))
{
    setObjectName(QStringLiteral("Tfrm_sys_login"));
    setWindowTitle(QString());
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(400, 248);

    auto* title = new QLabel(AppInfo::title, this);
    QFont titleFont = font();
    titleFont.setPixelSize(22);
    titleFont.setBold(true);
    title->setFont(titleFont);
    title->setStyleSheet(QStringLiteral("color: white;"));
    title->setGeometry(0, 28, 400, 40);
    title->setAlignment(Qt::AlignCenter);

    auto* idLabel = new QLabel(QStringLiteral("编  号"), this);
    idLabel->setGeometry(100, 102, 50, 22);
    auto* passwordLabel = new QLabel(QStringLiteral("密  码"), this);
    passwordLabel->setGeometry(100, 138, 50, 22);

    edtbh->setObjectName(QStringLiteral("edtbh"));
    edtbh->setMaxLength(20);
    edtbh->setGeometry(156, 100, 150, 24);
    edtpassword->setObjectName(QStringLiteral("edtpassword"));
    edtpassword->setMaxLength(20);
    edtpassword->setEchoMode(QLineEdit::Password);
    auto* starStyle = new StarPasswordStyle;
    starStyle->setParent(edtpassword);
    edtpassword->setStyle(starStyle);
    edtpassword->setGeometry(156, 136, 150, 24);

    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setGeometry(120, 192, 75, 28);
    btnOk->setAutoDefault(true);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setGeometry(214, 192, 75, 28);
    btnCancel->setAutoDefault(true);
    setTabOrder(edtbh, edtpassword);
    setTabOrder(edtpassword, btnOk);
    setTabOrder(btnOk, btnCancel);

    for (QWidget* box : {static_cast<QWidget*>(edtbh), static_cast<QWidget*>(edtpassword)}) {
        KeyFilters::attachKeyP(box);
        KeyFilters::attachKeyD(box);
    }
    edtbh->installEventFilter(this);
    connect(btnOk, &QPushButton::clicked, this, [this] { RunGuarded([this] { pressOk(); }); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { RunGuarded([this] { pressExit(); }); });
    edtbh->setFocus();
}

bool LoginDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == edtbh && event->type() == QEvent::FocusOut)
        RunGuarded([this] { lookupUser(); });
    return BaseDbForm::eventFilter(watched, event);
}

void LoginDialog::lookupUser()
{
    const QString id = edtbh->text().trimmed();
    if (id.isEmpty())
        return;
    lookedUpId = id;
    userFound = false;
    // The id is quoted, so a typed quote can never widen the lookup.
    if (!OpenQuery(Qry(), QStringLiteral("select * from s_user where suserid=") + SqlText::quoted(id)))
        return;
    if (Qry().isEmpty()) {
        ShowInfo(QStringLiteral("没有此操作用户！"));
        edtbh->clear();
        edtbh->setFocus();
        return;
    }
    currentUser().copyFrom(Qry());
    userFound = true;
}

void LoginDialog::pressOk()
{
    if (edtbh->text().trimmed() != lookedUpId)
        lookupUser();
    if (edtbh->text().trimmed().isEmpty() || !userFound) {
        edtbh->setFocus();
        return;
    }
    if (edtpassword->text() != currentUser().password) {
        ShowInfo(QStringLiteral("密码不正确！"));
        edtpassword->clear();
        edtpassword->setFocus();
        return;
    }
    ensureRememberedValueRows();
    mayClose = true;
    accept();
}

void LoginDialog::ensureRememberedValueRows()
{
    const QString user = SqlText::quoted(currentUser().userId);
    for (QChar letter : FieldCodes::tableLetters) {
        const QString table = FieldCodes::tableName(letter);
        if (!OpenQuery(Qry(), QStringLiteral("select count(*) from S_NEWVALUE where SUSERID=%1 and STABLE='%2'")
                                  .arg(user, table)))
            throw SilentAbort();
        if (Qry().asInteger(0) == 0)
            ExecSql(Qry(), QStringLiteral("insert into S_NEWVALUE (SUSERID,STABLE,SFIELD) select %1,'%2',SFIELD from "
                                          "S_FIELD where STABLE='%2'")
                               .arg(user, table));
    }
}

void LoginDialog::pressExit()
{
    exiting = true;
    reject();
}

void LoginDialog::done(int result)
{
    if (mayClose || exiting)
        BaseDbForm::done(result);
}

void LoginDialog::closeEvent(QCloseEvent* event)
{
    if (mayClose || exiting)
        BaseDbForm::closeEvent(event);
    else
        event->ignore();
}

void LoginDialog::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QLinearGradient background(0, 0, 0, height());
    background.setColorAt(0, QColor(0x1f, 0x5f, 0x9f));
    background.setColorAt(0.35, QColor(0x4a, 0x8c, 0xcf));
    background.setColorAt(0.36, QColor(0xee, 0xf3, 0xf8));
    background.setColorAt(1, QColor(0xd6, 0xe2, 0xee));
    painter.fillRect(rect(), background);
}
