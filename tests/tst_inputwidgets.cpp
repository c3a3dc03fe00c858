#include "MessageRecorder.h"
#include "widgets/MappedComboBox.h"
#include "widgets/NullableDateEdit.h"

#include <QCalendarWidget>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QToolButton>

namespace {
// The last item's display text is empty: an empty box must not select it by matching.
const QStringList customerKinds = {QStringLiteral("潜在客户\t1"), QStringLiteral("正式客户\t2"),
                                   QStringLiteral("VIP\t3"),      QStringLiteral("重复\t4"),
                                   QStringLiteral("重复\t5"),     QStringLiteral("多段\tx\ty"),
                                   QStringLiteral("无值"),        QStringLiteral("\t0")};

const QString dateWarning = QStringLiteral("日期格式不正确，请按 yyyy-mm-dd 格式输入，例如 2024-03-05");

// Replaces the text key by key as a user does, optionally finishing with Enter. (keyClicks
// takes Latin-1 only.)
void typeText(QLineEdit* edit, const QString& text, bool finish)
{
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    for (const QChar character : text)
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(character), Qt::NoModifier);
    if (finish)
        QTest::keyClick(edit, Qt::Key_Return);
}

QStringList spiedStrings(const QSignalSpy& spy)
{
    QStringList values;
    for (const QList<QVariant>& arguments : spy)
        values << arguments.at(0).toString();
    return values;
}

QCalendarWidget* openCalendar(NullableDateEdit& edit)
{
    auto* button = edit.findChild<QToolButton*>(QStringLiteral("calendarButton"));
    if (!button)
        return nullptr;
    QTest::mouseClick(button, Qt::LeftButton);
    auto* calendar = edit.findChild<QCalendarWidget*>();
    return calendar && calendar->isVisible() ? calendar : nullptr;
}
}

class InputWidgetsTest : public QObject {
    Q_OBJECT
private slots:
    void chosenItemShowsDisplayTextAndYieldsValue_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("value");
        QTest::newRow("mapped") << 0 << "潜在客户" << "1";
        QTest::newRow("second duplicate display") << 4 << "重复" << "5";
        QTest::newRow("value after the first TAB") << 5 << "多段" << "x\ty";
        QTest::newRow("no TAB") << 6 << "无值" << "无值";
    }

    void chosenItemShowsDisplayTextAndYieldsValue()
    {
        QFETCH(int, index);
        QFETCH(QString, display);
        QFETCH(QString, value);
        MappedComboBox box;
        box.setItemTexts(customerKinds);
        box.setCurrentIndex(index);  // what choosing from the list does
        QCOMPARE(box.itemText(index), display);
        QCOMPARE(box.displayText(), display);
        QCOMPARE(box.value(), value);
    }

    void setValueSelectsByStoredValue_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("display");
        QTest::newRow("known") << "2" << 1 << "正式客户";
        QTest::newRow("second duplicate display") << "5" << 4 << "重复";
        QTest::newRow("unknown") << "9" << -1 << "";
        QTest::newRow("display text is no value") << "潜在客户" << -1 << "";
    }

    void setValueSelectsByStoredValue()
    {
        QFETCH(QString, value);
        QFETCH(int, index);
        QFETCH(QString, display);
        MappedComboBox box;
        box.setItemTexts(customerKinds);
        box.setValue(QStringLiteral("1"));
        box.setValue(value);
        QCOMPARE(box.currentIndex(), index);
        QCOMPARE(box.displayText(), display);
        QCOMPARE(box.value(), index < 0 ? QString() : value);
    }

    void typedTextMatchesDisplayTexts_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("value");
        QTest::newRow("display text") << "潜在客户" << "1";
        QTest::newRow("duplicate display: first wins") << "重复" << "4";
        QTest::newRow("prefix") << "潜在" << "";
        QTest::newRow("other case") << "vip" << "";
        QTest::newRow("stored value") << "2" << "";
        QTest::newRow("longer than a display text") << "潜在客户甲" << "";
    }

    void typedTextMatchesDisplayTexts()
    {
        QFETCH(QString, typed);
        QFETCH(QString, value);
        MappedComboBox box;
        box.setItemTexts(customerKinds);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        box.setValue(QStringLiteral("2"));

        typeText(box.lineEdit(), typed, false);
        QCOMPARE(box.value(), value);
        QTest::keyClick(box.lineEdit(), Qt::Key_Return);
        QCOMPARE(box.value(), value);
        QCOMPARE(box.displayText(), typed);
        QCOMPARE(box.count(), customerKinds.size());
    }

    void unmappedItemsAreWholeTexts()
    {
        MappedComboBox box;
        box.setMapped(false);
        box.setItemTexts(customerKinds);
        box.setValue(QStringLiteral("1"));
        QCOMPARE(box.currentIndex(), -1);
        box.setValue(QStringLiteral("正式客户\t2"));
        QCOMPARE(box.displayText(), QStringLiteral("正式客户\t2"));
        QCOMPARE(box.value(), QStringLiteral("正式客户\t2"));

        QSignalSpy spy(&box, &MappedComboBox::valueChanged);
        box.setMapped(true);
        QCOMPARE(box.displayText(), QStringLiteral("正式客户"));
        QCOMPARE(box.value(), QStringLiteral("2"));
        QCOMPARE(spiedStrings(spy), QStringList{QStringLiteral("2")});
        QCOMPARE(box.itemTexts(), customerKinds);
    }

    void itemTextsCopyBetweenBoxes()
    {
        MappedComboBox source;
        source.setItemTexts(customerKinds.mid(0, 3));
        for (const QString& item : customerKinds.mid(3))
            source.addItemText(item);
        QCOMPARE(source.itemTexts(), customerKinds);

        MappedComboBox copy;
        copy.setItemTexts(source.itemTexts());
        QCOMPARE(copy.itemTexts(), customerKinds);
        copy.setValue(QStringLiteral("3"));
        QCOMPARE(copy.displayText(), QStringLiteral("VIP"));

        copy.clearItems();
        QCOMPARE(copy.count(), 0);
        QCOMPARE(copy.value(), QString());
        QCOMPARE(copy.displayText(), QString());
    }

    // Filling a box selects nothing; refilling keeps the value while an item still has it.
    void fillingKeepsSelection()
    {
        MappedComboBox box;
        box.addItemText(customerKinds.first());
        QCOMPARE(box.currentIndex(), -1);
        QCOMPARE(box.value(), QString());
        box.setItemTexts(customerKinds);
        QCOMPARE(box.currentIndex(), -1);

        box.setValue(QStringLiteral("2"));
        box.setItemTexts({QStringLiteral("新客户\t0"), QStringLiteral("正式\t2")});
        QCOMPARE(box.value(), QStringLiteral("2"));
        QCOMPARE(box.displayText(), QStringLiteral("正式"));

        box.setItemTexts(customerKinds.mid(2));
        QCOMPARE(box.currentIndex(), -1);
        QCOMPARE(box.value(), QString());
        QCOMPARE(box.displayText(), QString());
    }

    void valueChangedFollowsEveryChange()
    {
        MappedComboBox box;
        box.setItemTexts(customerKinds);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QSignalSpy spy(&box, &MappedComboBox::valueChanged);

        box.setValue(QStringLiteral("2"));
        box.setValue(QStringLiteral("2"));
        QTest::keyClick(&box, Qt::Key_Down);
        typeText(box.lineEdit(), QStringLiteral("潜在客户"), true);
        box.clearValue();
        QCOMPARE(spiedStrings(spy), (QStringList{"2", "3", "", "1", ""}));
    }

    void dateEditStartsEmpty()
    {
        NullableDateEdit edit;
        QVERIFY(edit.isEmpty());
        QVERIFY(!edit.date().isValid());
        QCOMPARE(edit.lineEdit()->text(), QString());
        QCOMPARE(edit.findChild<QLineEdit*>(QStringLiteral("edit")), edit.lineEdit());
    }

    void setDateShowsDisplayForm()
    {
        NullableDateEdit edit;
        QSignalSpy spy(&edit, &NullableDateEdit::dateChanged);
        edit.setDate(QDate(2024, 3, 5));
        edit.setDate(QDate(2024, 3, 5));
        QCOMPARE(edit.lineEdit()->text(), QStringLiteral("2024-03-05"));
        edit.setDate(QDate());
        QVERIFY(edit.isEmpty());
        QCOMPARE(edit.lineEdit()->text(), QString());
        QCOMPARE(spy.size(), 2);
        QCOMPARE(spy.at(0).at(0).toDate(), QDate(2024, 3, 5));
        QVERIFY(!spy.at(1).at(0).toDate().isValid());
    }

    void typedDateIsReadWhenEditingFinishes_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("shown");
        QTest::newRow("four-digit year") << "2024-3-5" << QDate(2024, 3, 5) << "2024-03-05";
        QTest::newRow("two-digit year 24") << "24-3-5" << QDate(2024, 3, 5) << "2024-03-05";
        QTest::newRow("two-digit year 49") << "49-1-2" << QDate(2049, 1, 2) << "2049-01-02";
        QTest::newRow("two-digit year 50") << "50-1-2" << QDate(1950, 1, 2) << "1950-01-02";
    }

    void typedDateIsReadWhenEditingFinishes()
    {
        QFETCH(QString, typed);
        QFETCH(QDate, date);
        QFETCH(QString, shown);
        MessageRecorder recorder;
        NullableDateEdit edit;
        edit.show();
        QVERIFY(QTest::qWaitForWindowExposed(&edit));
        QSignalSpy spy(&edit, &NullableDateEdit::dateChanged);

        typeText(edit.lineEdit(), typed, false);
        QVERIFY(edit.isEmpty());
        QTest::keyClick(edit.lineEdit(), Qt::Key_Return);
        QCOMPARE(edit.date(), date);
        QCOMPARE(edit.lineEdit()->text(), shown);
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.at(0).at(0).toDate(), date);
        QVERIFY(recorder.messages().isEmpty());
    }

    void invalidTextWarnsAndKeepsDate_data()
    {
        QTest::addColumn<QDate>("previous");
        QTest::addColumn<QString>("typed");
        QTest::newRow("letters") << QDate(2024, 3, 5) << "明天";
        QTest::newRow("month 13") << QDate(2024, 3, 5) << "2024-13-01";
        QTest::newRow("February 30") << QDate(2024, 3, 5) << "2024-02-30";
        QTest::newRow("no day") << QDate(2024, 3, 5) << "2024-3";
        QTest::newRow("was empty") << QDate() << "2024-3-x";
    }

    void invalidTextWarnsAndKeepsDate()
    {
        QFETCH(QDate, previous);
        QFETCH(QString, typed);
        MessageRecorder recorder;
        NullableDateEdit edit;
        edit.setDate(previous);
        edit.show();
        QVERIFY(QTest::qWaitForWindowExposed(&edit));
        QSignalSpy spy(&edit, &NullableDateEdit::dateChanged);

        typeText(edit.lineEdit(), typed, true);
        QCOMPARE(recorder.texts(), QStringList{dateWarning});
        QCOMPARE(recorder.messages().first().icon, MessageIcon::Warning);
        QCOMPARE(edit.date(), previous);
        QCOMPARE(edit.lineEdit()->text(), previous.toString(QStringLiteral("yyyy-MM-dd")));
        QCOMPARE(spy.size(), 0);
    }

    void clearingEmpties_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("typed empty text") << "typed";
        QTest::newRow("clear()") << "clear";
        QTest::newRow("popup button") << "popup";
    }

    void clearingEmpties()
    {
        QFETCH(QString, how);
        MessageRecorder recorder;
        NullableDateEdit edit;
        edit.setDate(QDate(2024, 3, 5));
        edit.show();
        QVERIFY(QTest::qWaitForWindowExposed(&edit));
        QSignalSpy spy(&edit, &NullableDateEdit::dateChanged);

        if (how == "typed") {
            typeText(edit.lineEdit(), QString(), true);
        } else if (how == "clear") {
            edit.clear();
        } else {
            QCalendarWidget* calendar = openCalendar(edit);
            QVERIFY(calendar);
            auto* clearButton = edit.findChild<QPushButton*>(QStringLiteral("clearButton"));
            QVERIFY(clearButton);
            QTest::mouseClick(clearButton, Qt::LeftButton);
            QVERIFY(!calendar->isVisible());
        }
        QVERIFY(edit.isEmpty());
        QCOMPARE(edit.lineEdit()->text(), QString());
        QCOMPARE(spy.size(), 1);
        QVERIFY(!spy.at(0).at(0).toDate().isValid());
        QVERIFY(recorder.messages().isEmpty());
    }

    void calendarOpensOnValue_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QDate>("shown");
        QTest::newRow("empty") << QDate() << "" << QDate::currentDate();
        QTest::newRow("set") << QDate(2024, 3, 5) << "" << QDate(2024, 3, 5);
        QTest::newRow("typed, not finished") << QDate(2024, 3, 5) << "2024-6-1" << QDate(2024, 6, 1);
    }

    void calendarOpensOnValue()
    {
        QFETCH(QDate, date);
        QFETCH(QString, typed);
        QFETCH(QDate, shown);
        NullableDateEdit edit;
        edit.setDate(date);
        edit.show();
        QVERIFY(QTest::qWaitForWindowExposed(&edit));
        if (!typed.isEmpty())
            typeText(edit.lineEdit(), typed, false);

        QCalendarWidget* calendar = openCalendar(edit);
        QVERIFY(calendar);
        QCOMPARE(calendar->selectedDate(), shown);
        QCOMPARE(calendar->yearShown(), shown.year());
        QCOMPARE(calendar->monthShown(), shown.month());
        QCOMPARE(edit.date(), typed.isEmpty() ? date : shown);
    }

    void calendarPickSetsDate_data()
    {
        QTest::addColumn<bool>("byMouse");
        QTest::addColumn<QDate>("picked");
        QTest::newRow("click a day") << true << QDate(2024, 3, 20);
        QTest::newRow("arrow and Enter") << false << QDate(2024, 3, 6);
    }

    void calendarPickSetsDate()
    {
        QFETCH(bool, byMouse);
        QFETCH(QDate, picked);
        NullableDateEdit edit;
        edit.setDate(QDate(2024, 3, 5));
        edit.show();
        QVERIFY(QTest::qWaitForWindowExposed(&edit));
        QSignalSpy spy(&edit, &NullableDateEdit::dateChanged);

        QCalendarWidget* calendar = openCalendar(edit);
        QVERIFY(calendar);
        auto* view = calendar->findChild<QTableView*>();
        QVERIFY(view);
        if (byMouse) {
            // Day cells show the day of month; in March 2024's page the 20th appears once.
            const QAbstractItemModel* model = view->model();
            QModelIndex cell;
            for (int row = 0; row < model->rowCount() && !cell.isValid(); ++row) {
                for (int column = 0; column < model->columnCount(); ++column) {
                    const QModelIndex index = model->index(row, column);
                    if (index.data().toString() == QString::number(picked.day()))
                        cell = index;
                }
            }
            QVERIFY(cell.isValid());
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(cell).center());
        } else {
            QTest::keyClick(view, Qt::Key_Right);
            QTest::keyClick(view, Qt::Key_Return);
        }
        QCOMPARE(edit.date(), picked);
        QCOMPARE(edit.lineEdit()->text(), picked.toString(QStringLiteral("yyyy-MM-dd")));
        QVERIFY(!calendar->isVisible());
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.at(0).at(0).toDate(), picked);
    }
};

QTEST_MAIN(InputWidgetsTest)
#include "tst_inputwidgets.moc"
