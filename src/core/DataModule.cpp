#include "DataModule.h"

#include "AppInfo.h"
#include "FieldCodes.h"
#include "Messages.h"
#include "QueryRunners.h"
#include "SqlText.h"

#include <QDir>

namespace {
DataModule* theInstance = nullptr;
}

DataModule::DataModule(const QString& programFolder, QObject* parent)
    : QObject(parent), folder(QDir::cleanPath(programFolder)), query(&connection)
{
    theInstance = this;
    if (!connection.open(databaseFile())) {
        messageSink().show(AppInfo::title, connection.lastError(), MessageIcon::Error);
        return;
    }
    attachments = folder + QLatin1Char('/') + AppInfo::attachmentFolderName;
    loadSortClauses();
    loadTreeLevels();
    for (QChar letter : FieldCodes::tableLetters)
        LoadFieldCaptions(letter);
}

DataModule::~DataModule()
{
    if (theInstance == this)
        theInstance = nullptr;
}

DataModule* DataModule::instance()
{
    return theInstance;
}

const QStringList& DataModule::sortKeys()
{
    static const QStringList keys = {QStringLiteral("Q_A"),  QStringLiteral("Q_B"), QStringLiteral("Q_AB"),
                                     QStringLiteral("Q_C"),  QStringLiteral("Q_AC"), QStringLiteral("Q_D"),
                                     QStringLiteral("Q_AD"), QStringLiteral("Q_E"), QStringLiteral("Q_AE")};
    return keys;
}

void DataModule::loadSortClauses()
{
    for (const QString& key : sortKeys())
        sortClauses.insert(key, BuildOrderBy(query, key));
}

DataModule::TreeLevel DataModule::treeLevel(int level) const
{
    return level >= 1 && level <= 4 ? treeLevels[size_t(level - 1)] : TreeLevel{};
}

void DataModule::loadTreeLevels()
{
    treeLevels.fill(TreeLevel{});
    if (!OpenQuery(query, QStringLiteral("select a.INO,a.SFIELD,b.SFIELDTYPE from S_TREE a, S_FIELD b where "
                                         "a.SFIELD=b.SFIELD and a.STABLE='Q_A' and b.stable='Q_A'")))
        return;
    for (query.first(); !query.eof(); query.next()) {
        const QString number = query.asString(0);
        if (number.size() == 1 && number[0] >= QChar('1') && number[0] <= QChar('4'))
            treeLevels[size_t(number.toInt() - 1)] = {query.asString(1), query.asString(2)};
    }
}

void DataModule::LoadFieldCaptions(QChar letter)
{
    if (!OpenQuery(query, QStringLiteral("select SFIELD,SFIELDNAME1 from S_FIELD where stable=")
                              + SqlText::quoted(FieldCodes::tableName(letter))))
        return;
    const QStringList codes = FieldCodes::codes(letter.toUpper());
    for (query.first(); !query.eof(); query.next()) {
        const QString field = query.asString(0);
        if (codes.contains(field))
            captions.insert(field, query.asString(1));
    }
}
