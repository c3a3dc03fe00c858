#include "CommandLine.h"

#include <QCommandLineParser>

namespace {
const QCommandLineOption folderOption(QStringLiteral("folder"), QString(), QStringLiteral("DIR"));
const QCommandLineOption initOption(QStringLiteral("init-database"));
const QCommandLineOption demoOption(QStringLiteral("demo"), QString(), QStringLiteral("N"));
const QCommandLineOption exportOption(QStringLiteral("export"), QString(), QStringLiteral("TABLE"));
const QCommandLineOption helpOption(QStringList{QStringLiteral("help"), QStringLiteral("h")});
}

CommandLine CommandLine::parse(const QStringList& arguments)
{
    CommandLine result;
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions({folderOption, initOption, demoOption, exportOption, helpOption});
    if (!parser.parse(arguments)) {
        result.error = parser.errorText();
        return result;
    }
    QStringList positional = parser.positionalArguments();
    if (parser.isSet(exportOption)) {
        result.exportTable = parser.value(exportOption);
        if (positional.size() != 1 || parser.isSet(initOption)) {
            result.error = QStringLiteral("用法：--export TABLE FILE [--folder DIR]");
            return result;
        }
        result.exportFile = positional.takeFirst();
    }
    if (!positional.isEmpty()) {
        result.error = QStringLiteral("无法识别的参数：%1").arg(positional.join(QLatin1Char(' ')));
        return result;
    }
    result.help = parser.isSet(helpOption);
    result.folder = parser.value(folderOption);
    result.initDatabase = parser.isSet(initOption);
    if (parser.isSet(demoOption)) {
        bool ok = false;
        result.demoCustomers = parser.value(demoOption).toInt(&ok);
        if (!ok || result.demoCustomers < 0)
            result.error = QStringLiteral("--demo 需要一个非负整数：%1").arg(parser.value(demoOption));
        else if (!result.initDatabase)
            result.error = QStringLiteral("--demo 只能与 --init-database 一起使用");
    }
    return result;
}

QString CommandLine::helpText()
{
    return QStringLiteral(
        "用法: qnrt100 [选项]\n"
        "\n"
        "  --folder DIR      使用 DIR 作为程序文件夹（默认为程序所在文件夹）\n"
        "  --init-database   在程序文件夹中创建新数据库 data100.dbf 和附件文件夹 Q_UPFILE，然后退出；\n"
        "                    数据库已存在时拒绝，不作任何改动\n"
        "  --demo N          与 --init-database 一起使用：另外填入 N 个演示客户及其明细记录\n"
        "  --export TABLE FILE\n"
        "                    把记录表 TABLE（Q_A..Q_E）的全部记录按使用中的字段导出到 FILE，\n"
        "                    格式由扩展名决定（.xls、.rtf、.htm、.txt），然后退出\n"
        "  --help            显示本帮助\n"
        "\n"
        "不带 --init-database 时正常启动程序。\n");
}
