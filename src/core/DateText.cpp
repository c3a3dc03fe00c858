#include "DateText.h"

#include "AppError.h"

#include <QRegularExpression>


#include <cmath>

namespace {
const QDate epoch(1899, 12, 30);
constexpr double msPerDay = 86400000.0;

int twoDigitYear(int year, int digits)
{
    if (digits > 2)
        return year;
    return year < 50 ? 2000 + year : 1900 + year;
}
}

namespace DateText {

double toDayNumber(const QDateTime& dateTime)
{
    const double days = double(epoch.daysTo(dateTime.date()));
    const double fraction = dateTime.time().msecsSinceStartOfDay() / msPerDay;
    // Before the epoch the fraction still counts forward from midnight: -1.25 is 1899-12-29 06:00.
    return days >= 0 ? days + fraction : days - fraction;
}

double toDayNumber(const QDate& date)
{
    return double(epoch.daysTo(date));
}

QDateTime fromDayNumber(double dayNumber)
{
    const double whole = std::trunc(dayNumber);
    const qint64 ms = qRound64(std::fabs(dayNumber - whole) * msPerDay);
    QDate date = epoch.addDays(qint64(whole));
    QTime time = QTime::fromMSecsSinceStartOfDay(int(ms % qint64(msPerDay)));
    if (ms >= qint64(msPerDay))
        date = date.addDays(1);
    return QDateTime(date, time, Qt::UTC);
}

QString format(const QDateTime& dateTime)
{
    if (!dateTime.isValid())
        return {};
    const QString day = format(dateTime.date());
    const QTime time = dateTime.time();
    if (time.msecsSinceStartOfDay() == 0)
        return day;
    return day + QStringLiteral(" %1:%2:%3").arg(time.hour(), 2, 10, QLatin1Char('0'))
                                           .arg(time.minute(), 2, 10, QLatin1Char('0'))
                                           .arg(time.second(), 2, 10, QLatin1Char('0'));
}

QString format(const QDate& date)
{
    // Every grid cell of a date column comes through here: digits by hand, not QDate::toString.
    if (!date.isValid() || date.year() < 1 || date.year() > 9999)
        return date.isValid() ? date.toString(displayFormat) : QString();
    char16_t text[10];
    auto put = [&text](int at, int value, int digits) {
        for (int i = digits - 1; i >= 0; --i, value /= 10)
            text[at + i] = char16_t(u'0' + value % 10);
    };
    put(0, date.year(), 4);
    text[4] = u'-';
    put(5, date.month(), 2);
    text[7] = u'-';
    put(8, date.day(), 2);
    return QString(reinterpret_cast<const QChar*>(text), 10);
}

QDateTime parse(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral(
        "^\\s*(\\d{1,4})[-/](\\d{1,2})[-/](\\d{1,2})(?:\\s+(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?)?\\s*$"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch())
        return {};
    const QDate date(twoDigitYear(m.captured(1).toInt(), int(m.captured(1).size())), m.captured(2).toInt(),
                     m.captured(3).toInt());
    const QTime time = m.captured(4).isEmpty()
        ? QTime(0, 0)
        : QTime(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt());
    if (!date.isValid() || !time.isValid())
        return {};
    return QDateTime(date, time, Qt::UTC);
}

}

QDateTime ParseDateText(const QString& text)
{
    if (text.size() == 8) {
        auto number = [&](int from, int count) {
            bool ok = false;
            const int v = text.mid(from, count).toInt(&ok);
            return ok ? v : 0;
        };
        const QDate date(number(0, 4), number(4, 2), number(6, 2));
        if (!date.isValid())
            throw ConversionError(QStringLiteral("无效的日期：%1").arg(text));
        return QDateTime(date, QTime(0, 0), Qt::UTC);
    }
    const QDateTime result = DateText::parse(text);
    if (!result.isValid())
        throw SilentAbort();
    return result;
}

QString DateToSqlText(const QDateTime& dateTime)
{
    return QString::number(DateText::toDayNumber(dateTime), 'g', 15);
}

QString DateToSqlText(const QDate& date)
{
    return QString::number(DateText::toDayNumber(date), 'g', 15);
}
