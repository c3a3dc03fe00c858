#include "MessageRecorder.h"
#include "ModalDriver.h"
#include "ProgramFixture.h"
#include "app/LoginDialog.h"
#include "core/CurrentUser.h"
#include "core/DataModule.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class LoginTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFixture> program;
    std::unique_ptr<MessageRecorder> messages;
    std::unique_ptr<LoginDialog> dialog;

    QLineEdit* idBox() { return dialog->findChild<QLineEdit*>("edtbh"); }
    QLineEdit* passwordBox() { return dialog->findChild<QLineEdit*>("edtpassword"); }
    QPushButton* okButton() { return dialog->findChild<QPushButton*>("btnOk"); }

    void openDialog()
    {
        dialog = std::make_unique<LoginDialog>();
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
        idBox()->setFocus();
    }

    // Types the id, Enter, the password, Enter (to OK), Enter (presses OK).
    void logIn(const QString& id, const QString& password)
    {
        QTest::keyClicks(idBox(), id);
        QTest::keyClick(idBox(), Qt::Key_Return);
        QTest::keyClicks(passwordBox(), password);
        QTest::keyClick(passwordBox(), Qt::Key_Return);
        QTest::keyClick(okButton(), Qt::Key_Return);
    }

    bool accepted() const { return !dialog->isVisible() && dialog->result() == QDialog::Accepted; }

private slots:
    void init()
    {
        program = std::make_unique<ProgramFixture>();
        messages = std::make_unique<MessageRecorder>();
    }

    void cleanup()
    {
        dialog.reset();
        messages.reset();
        program.reset();
    }

    void dialogLayout()
    {
        openDialog();
        QCOMPARE(dialog->objectName(), QString("Tfrm_sys_login"));
        QCOMPARE(dialog->size(), QSize(400, 248));
        QCOMPARE(dialog->windowTitle(), QString());
        QCOMPARE(idBox()->maxLength(), 20);
        QCOMPARE(passwordBox()->maxLength(), 20);
        QCOMPARE(passwordBox()->echoMode(), QLineEdit::Password);
        QCOMPARE(okButton()->text(), QString("确  定"));
        QCOMPARE(dialog->findChild<QPushButton*>("btnCancel")->text(), QString("退  出"));
        QVERIFY(!(dialog->windowFlags() & Qt::WindowCloseButtonHint));
    }

    void administratorLogsInAndGetsRememberedRowsOnce()
    {
        openDialog();
        logIn(" 0000 ", "");
        QVERIFY(accepted());
        QVERIFY(messages->messages().isEmpty());
        QCOMPARE(currentUser().userId, QString("0000"));
        QCOMPARE(currentUser().userName, QString("系统管理员"));
        QVERIFY(currentUser().grants(CurrentUser::Settings));
        QCOMPARE(program->scalar("select count(*) from S_NEWVALUE where SUSERID='0000'"), QString("190"));
        QCOMPARE(program->scalar("select count(*) from S_NEWVALUE where SUSERID='0000' and STABLE='Q_C'"),
                 QString("38"));

        openDialog();
        logIn("0000", "");
        QVERIFY(accepted());
        QCOMPARE(program->scalar("select count(*) from S_NEWVALUE"), QString("190"));
    }

    void unknownUser()
    {
        openDialog();
        QTest::keyClicks(idBox(), "9999");
        QTest::keyClick(idBox(), Qt::Key_Return);
        QCOMPARE(messages->texts(), QStringList{"没有此操作用户！"});
        QCOMPARE(messages->messages().first().title, QString("提示"));
        QVERIFY(idBox()->text().isEmpty());
        QVERIFY(idBox()->hasFocus());
        QVERIFY(currentUser().userId.isEmpty());
    }

    void injectedIdsFindNobody_data()
    {
        QTest::addColumn<QString>("id");
        QTest::newRow("or true") << "x' or '1'='1";
        QTest::newRow("empty or empty") << "' or ''='";
        QTest::newRow("comment") << "0000' --";
        QTest::newRow("union") << "x' union select * from s_user --";
    }

    void injectedIdsFindNobody()
    {
        QFETCH(QString, id);
        openDialog();
        logIn(id, "");
        QVERIFY(!accepted());
        QVERIFY(dialog->isVisible());
        QCOMPARE(messages->texts().first(), QString("没有此操作用户！"));
        QVERIFY(currentUser().userId.isEmpty());
        QCOMPARE(program->scalar("select count(*) from S_NEWVALUE"), QString("0"));
    }

    void wrongPasswordThenRight()
    {
        program->exec("update S_USER set SPASSWORD='abc' where SUSERID='0000'");
        openDialog();
        logIn("0000", "ABC");
        QVERIFY(!accepted());
        QCOMPARE(messages->texts(), QStringList{"密码不正确！"});
        QVERIFY(passwordBox()->text().isEmpty());
        QVERIFY(passwordBox()->hasFocus());
        QTest::keyClicks(passwordBox(), "abc");
        QTest::mouseClick(okButton(), Qt::LeftButton);
        QVERIFY(accepted());
    }

    void okWithEmptyIdStays()
    {
        openDialog();
        QTest::mouseClick(okButton(), Qt::LeftButton);
        QVERIFY(dialog->isVisible());
        QVERIFY(idBox()->hasFocus());
        QVERIFY(messages->messages().isEmpty());
    }

    void closesOnlyThroughOkOrExit()
    {
        openDialog();
        dialog->close();
        dialog->reject();
        QTest::keyClick(dialog.get(), Qt::Key_Escape);
        QVERIFY(dialog->isVisible());
        QTest::mouseClick(dialog->findChild<QPushButton*>("btnCancel"), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
    }

    void rightsAreGrantedOnlyByOne()
    {
        program->exec("insert into S_USER(SUSERID,SUSERNAME,SPASSWORD,IRADD,IREDIT,IRDEL) values('u1','张三','',null,2,1)");
        openDialog();
        logIn("u1", "");
        QVERIFY(accepted());
        QCOMPARE(currentUser().rightValue(CurrentUser::Add), 0);
        QVERIFY(!currentUser().grants(CurrentUser::Add));
        QCOMPARE(currentUser().rightValue(CurrentUser::Edit), 2);
        QVERIFY(!currentUser().grants(CurrentUser::Edit));
        QVERIFY(currentUser().grants(CurrentUser::Delete));
        QCOMPARE(program->scalar("select count(*) from S_NEWVALUE where SUSERID='u1'"), QString("190"));
    }

    void failingRowsKeepTheDialogOpen()
    {
        program->exec("drop table S_NEWVALUE");
        openDialog();
        logIn("0000", "");
        QVERIFY(!accepted());
        QVERIFY(dialog->isVisible());
        QCOMPARE(messages->messages().first().title, QString("错误"));
        QVERIFY(messages->messages().first().text.startsWith("no such table: S_NEWVALUE\n\r"));
    }

    void missingDatabaseLogsNobodyIn()
    {
        program.reset();
        QTemporaryDir empty;
        DataModule dm(empty.path());
        currentUser() = CurrentUser();
        messages->clear();
        openDialog();
        logIn("0000", "");
        QVERIFY(!accepted());
        QVERIFY(dialog->isVisible());
        QVERIFY(!messages->messages().isEmpty());
        QCOMPARE(messages->messages().first().title, QString("错误"));
        QVERIFY(currentUser().userId.isEmpty());
        dialog.reset();
    }

    void modalLogin()
    {
        dialog = std::make_unique<LoginDialog>();
        WhenModalShows([](QWidget* shown) {
            QTest::keyClicks(shown->findChild<QLineEdit*>("edtbh"), "0000");
            QTest::mouseClick(shown->findChild<QPushButton*>("btnOk"), Qt::LeftButton);
        });
        QCOMPARE(dialog->exec(), int(QDialog::Accepted));
        QCOMPARE(currentUser().userId, QString("0000"));
    }
};

QTEST_MAIN(LoginTest)
#include "tst_login.moc"
