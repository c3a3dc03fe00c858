#include "FileChooser.h"

#include <QFileDialog>

namespace {

QString filterText(const FileChooser::FileType& type)
{
    QString patterns = type.pattern;
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    return type.name + QStringLiteral(" (") + patterns + QLatin1Char(')');
}

QStringList filterTexts(const QList<FileChooser::FileType>& types)
{
    QStringList filters;
    for (const FileChooser::FileType& t : types)
        filters << filterText(t);
    return filters;
}

class SystemFileChooser : public FileChooser {
public:
    bool chooseSaveFile(QWidget* parent, const QString& title, const QList<FileType>& types, QString& fileName,
                        int& typeIndex) override
    {
        QFileDialog dialog(parent, title);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        const QStringList filters = filterTexts(types);
        dialog.setNameFilters(filters);
        if (typeIndex >= 1 && typeIndex <= filters.size())
            dialog.selectNameFilter(filters[typeIndex - 1]);
        dialog.selectFile(fileName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return false;
        fileName = dialog.selectedFiles().first();
        typeIndex = int(filters.indexOf(dialog.selectedNameFilter())) + 1;
        return true;
    }

    QStringList chooseOpenFiles(QWidget* parent, const QString& title, const QList<FileType>& types,
                                bool multiple) override
    {
        QFileDialog dialog(parent, title);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
        dialog.setNameFilters(filterTexts(types));
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
    }
};

SystemFileChooser systemChooser;
FileChooser* installed = nullptr;

}

FileChooser& FileChooser::current()
{
    return installed ? *installed : systemChooser;
}

void FileChooser::install(FileChooser* chooser)
{
    installed = chooser;
}
