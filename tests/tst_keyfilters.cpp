#include "ProgramFixture.h"
#include "forms/base/BaseDbForm.h"
#include "widgets/KeyFilters.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

// A window that records the keys its inputs pass on.
class RecordingForm : public BaseDbForm {
public:
    RecordingForm()
    {
        auto* layout = new QVBoxLayout(this);
        for (QLineEdit* e : {first, second})
            layout->addWidget(e);
        layout->addWidget(notes);
        layout->addWidget(save);
        for (QWidget* input : {static_cast<QWidget*>(first), static_cast<QWidget*>(second),
                               static_cast<QWidget*>(notes)}) {
            KeyFilters::attachKeyP(input);
            KeyFilters::attachKeyD(input);
        }
    }
    void windowKeyPress(QKeyEvent* event) override { pressed += event->text(); }
    void windowKeyDown(QKeyEvent* event) override { down << event->key(); }

    QLineEdit* first = new QLineEdit(this);
    QLineEdit* second = new QLineEdit(this);
    QTextEdit* notes = new QTextEdit(this);
    QPushButton* save = new QPushButton(QStringLiteral("保存"), this);
    QString pressed;
    QList<int> down;
};

void activate(QWidget* w)
{
    w->show();
    QApplication::setActiveWindow(w);
    QVERIFY(QTest::qWaitForWindowActive(w));
}

}

class KeyFiltersTest : public QObject {
    Q_OBJECT
private slots:
    void enterMovesTheFocusLikeTab()
    {
        ProgramFixture program;
        RecordingForm form;
        activate(&form);
        form.first->setFocus();
        QTest::keyClicks(form.first, "ab");
        QTest::keyClick(form.first, Qt::Key_Return);
        QVERIFY(form.second->hasFocus());
        QCOMPARE(form.first->text(), QString("ab"));
        QTest::keyClick(form.second, Qt::Key_Enter);
        QVERIFY(form.notes->hasFocus());
        // Enter in the last input moves on to the button and never makes a line break.
        QTest::keyClick(form.notes, Qt::Key_Return);
        QVERIFY(form.save->hasFocus());
        QCOMPARE(form.notes->toPlainText(), QString());
        QCOMPARE(form.pressed, QString("ab"));
    }

    void otherKeysReachWindowAndControl()
    {
        ProgramFixture program;
        RecordingForm form;
        activate(&form);
        form.notes->setFocus();
        QTest::keyClicks(form.notes, "x");
        QTest::keyClick(form.notes, Qt::Key_PageDown);
        QTest::keyClick(form.notes, Qt::Key_Up);
        QTest::keyClick(form.notes, Qt::Key_Down);
        QCOMPARE(form.notes->toPlainText(), QString("x"));
        QCOMPARE(form.pressed, QString("x"));
        QCOMPARE(form.down, (QList<int>{Qt::Key_X, Qt::Key_PageDown}));
    }

    void numberFilters_data()
    {
        QTest::addColumn<bool>("decimal");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("integer drops letters") << false << "1a2" << "12";
        QTest::newRow("integer drops sign and point") << false << "-1.5" << "15";
        QTest::newRow("decimal keeps the point") << true << "1 2 . 5" << "12.5";
        QTest::newRow("decimal drops the sign") << true << "-3" << "3";
        QTest::newRow("points are single characters") << true << "1..2" << "1..2";
    }

    void numberFilters()
    {
        QFETCH(bool, decimal);
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        QLineEdit box;
        if (decimal)
            KeyFilters::attachDecimalOnly(&box);
        else
            KeyFilters::attachIntegerOnly(&box);
        activate(&box);
        QTest::keyClicks(&box, typed);
        QCOMPARE(box.text(), kept);
        QTest::keyClick(&box, Qt::Key_Backspace);
        QCOMPARE(box.text(), kept.chopped(1));
    }
};

QTEST_MAIN(KeyFiltersTest)
#include "tst_keyfilters.moc"
