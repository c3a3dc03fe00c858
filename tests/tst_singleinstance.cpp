#include "app/SingleInstance.h"

#include <QFile>
#include <QTest>
#include <QUuid>

class SingleInstanceTest : public QObject {
    Q_OBJECT
private slots:
    void oneCopyAtATime()
    {
        const QString name = "测试 " + QUuid::createUuid().toString();
        {
            SingleInstance first(name);
            QVERIFY(first.acquire());
            SingleInstance second(name);
            QVERIFY(!second.acquire());
            SingleInstance other("其他 " + name);
            QVERIFY(other.acquire());
        }
        SingleInstance afterwards(name);
        QVERIFY(afterwards.acquire());
    }

    void lockOfACrashedCopyIsTakenOver()
    {
        const QString name = "崩溃 " + QUuid::createUuid().toString();
        SingleInstance instance(name);
        QFile stale(instance.lockFileName());
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write("2147483646\nqnrt100\n" + QSysInfo::machineHostName().toUtf8() + "\n");
        stale.close();
        QVERIFY(instance.acquire());
    }
};

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "tst_singleinstance.moc"
