#pragma once

#include "QueryCondition.h"

#include "core/FieldCodes.h"

#include <QList>
#include <QRect>
#include <QString>
#include <QWidget>

class Dataset;
class MappedComboBox;
class NullableDateEdit;
class QLabel;
class QLineEdit;

// The query panel's frame for the highest slot in use (m): its height and its two buttons.
struct PanelForm {
    int height;
    QRect runButton;
    QString runCaption;
    QRect clearButton;
    QString clearCaption;
    int spacing;  // gap between a button's glyph and caption
};
PanelForm PanelFormFor(int m);

// The query inputs of one record table: a label and input(s) for each of its 38 generic columns,
// named lbl/dbed/dbcb/dbdts/dbdte + column code and tagged 8. Which of them are shown, and where,
// comes from S_QUERY; hidden inputs keep their contents and still count in values().
class QueryPanel : public QWidget {
    Q_OBJECT
public:
    explicit QueryPanel(QWidget* parent = nullptr, QChar tableLetter = QLatin1Char('A'));

    QChar tableLetter() const { return letter; }

    // Label captions from the data module's field caption cache.
    void applyCaptions();
    // The code lists of the coded columns from the tables Q_AC01..Q_AC10 (for letter A).
    void fillCodeLists(Dataset& work);
    // Shows and places the configured columns by their S_QUERY slot; returns the INO of the last
    // row read (0 when there is none or the statement fails, which leaves every input hidden).
    int LayoutQueryPanel(Dataset& work);

    // Every column's contents, shown or not.
    QueryValues values() const;
    // Writes a tree node's value: the text of a text or number column, the item with that code
    // of a coded column (none when no item has it), the one day of a date column (yyyy-mm-dd).
    void setConditionValue(const QString& code, const QString& value);
    MappedComboBox* codeList(const QString& code) const;
    // Empties every enabled input from the last to the first, shown or not.
    void clear();

private:
    struct Column {
        QString code;
        FieldKind kind = FieldKind::None;
        QLabel* label = nullptr;
        QLineEdit* edit = nullptr;           // S, I, F
        MappedComboBox* combo = nullptr;     // C
        NullableDateEdit* from = nullptr;    // D
        QLabel* dash = nullptr;              // D
        NullableDateEdit* to = nullptr;      // D
    };

    void createColumn(const QString& code);
    const Column* column(const QString& code) const;
    void placeColumn(const Column& column, const QString& type, int left, int top);
    void hideAll();
    void coverShownControls();

    QChar letter;
    QList<Column> columns;  // in column code order
};
