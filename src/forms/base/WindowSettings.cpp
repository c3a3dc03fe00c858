#include "WindowSettings.h"

#include "core/DataModule.h"

namespace {
QString settingsFileOfProgram()
{
    return DataModule::instance() ? DataModule::instance()->settingsFile() : QString();
}
}

WindowSettings::WindowSettings(const QString& windowName) : WindowSettings(settingsFileOfProgram(), windowName)
{
}

WindowSettings::WindowSettings(const QString& settingsFile, const QString& windowName)
    : settings(settingsFile, QSettings::IniFormat), section(windowName)
{
}

bool WindowSettings::flag(const QString& key, bool defaultValue) const
{
    const QVariant v = settings.value(keyOf(key));
    return v.isValid() && (v.toString() == QLatin1String("true") || v.toString() == QLatin1String("false"))
        ? v.toBool()
        : defaultValue;
}

void WindowSettings::setFlag(const QString& key, bool value)
{
    settings.setValue(keyOf(key), value);
}

int WindowSettings::number(const QString& key, int defaultValue) const
{
    bool ok = false;
    const int n = settings.value(keyOf(key)).toString().toInt(&ok);
    return ok ? n : defaultValue;
}

void WindowSettings::setNumber(const QString& key, int value)
{
    settings.setValue(keyOf(key), value);
}

QColor WindowSettings::color(const QString& key, const QColor& defaultValue) const
{
    const QColor c = QColor::fromString(settings.value(keyOf(key)).toString());
    return c.isValid() ? c : defaultValue;
}

void WindowSettings::setColor(const QString& key, const QColor& value)
{
    settings.setValue(keyOf(key), value.name(QColor::HexArgb));
}

QByteArray WindowSettings::bytes(const QString& key) const
{
    return QByteArray::fromBase64(settings.value(keyOf(key)).toString().toLatin1());
}

void WindowSettings::setBytes(const QString& key, const QByteArray& value)
{
    settings.setValue(keyOf(key), QString::fromLatin1(value.toBase64()));
}
