#pragma once

#include <QByteArray>
#include <QColor>
#include <QSettings>
#include <QString>

// One window's section of the settings file "qnrt100.ini" in the program folder. A missing or
// damaged file reads as the defaults.
class WindowSettings {
public:
    // The settings file of the data module's program folder, section named after the window.
    explicit WindowSettings(const QString& windowName);
    WindowSettings(const QString& settingsFile, const QString& windowName);

    bool flag(const QString& key, bool defaultValue) const;
    void setFlag(const QString& key, bool value);
    int number(const QString& key, int defaultValue) const;
    void setNumber(const QString& key, int value);
    QColor color(const QString& key, const QColor& defaultValue) const;
    void setColor(const QString& key, const QColor& value);
    QByteArray bytes(const QString& key) const;
    void setBytes(const QString& key, const QByteArray& value);

private:
    QString keyOf(const QString& key) const { return section + QLatin1Char('/') + key; }

    mutable QSettings settings;
    QString section;
};
