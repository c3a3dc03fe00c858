#pragma once

#include "AppInfo.h"
#include "Connection.h"
#include "Dataset.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

#include <array>

// Owns the shared connection, the process-wide paths and the caches loaded from the metadata:
// the sort clauses, the tree levels and the field captions. One instance lives from start-up to
// the end of the process.
class DataModule : public QObject {
    Q_OBJECT
public:
    struct TreeLevel {
        QString field;  // column code such as AC01; empty when the level is not configured
        QString type;   // its type letter
    };

    // Runs the start-up steps for the program folder. A database that cannot be opened is
    // reported in the standard error box and the remaining steps are skipped.
    explicit DataModule(const QString& programFolder, QObject* parent = nullptr);
    ~DataModule() override;

    // The one instance, or nullptr before it is made.
    static DataModule* instance();

    Connection& conPublic() { return connection; }
    Dataset& Qry() { return query; }
    bool isConnected() const { return connection.isOpen(); }

    QString programFolder() const { return folder; }
    QString manualFile() const { return folder + QLatin1Char('/') + AppInfo::manualFileName; }
    QString settingsFile() const { return folder + QLatin1Char('/') + AppInfo::settingsFileName; }
    QString databaseFile() const { return folder + QLatin1Char('/') + AppInfo::databaseFileName; }
    QString attachmentFolder() const { return attachments; }

    // Sort clause cache, keyed Q_A, Q_B, Q_AB, Q_C, Q_AC, Q_D, Q_AD, Q_E, Q_AE.
    static const QStringList& sortKeys();
    QString sortClause(const QString& key) const { return sortClauses.value(key); }
    void setSortClause(const QString& key, const QString& clause) { sortClauses.insert(key, clause); }

    // Tree levels 1..4.
    TreeLevel treeLevel(int level) const;
    void loadTreeLevels();

    // Field caption cache, by column code (AS01 .. ED04).
    QString fieldCaption(const QString& code) const { return captions.value(code.toUpper()); }
    void setFieldCaption(const QString& code, const QString& caption) { captions.insert(code.toUpper(), caption); }
    void LoadFieldCaptions(QChar letter);

private:
    void loadSortClauses();

    QString folder;
    QString attachments;
    Connection connection;
    Dataset query;
    QHash<QString, QString> sortClauses;
    std::array<TreeLevel, 4> treeLevels;
    QHash<QString, QString> captions;
};
