#include "CommandLine.h"
#include "ProgramEntry.h"

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine command = CommandLine::parse(arguments);
    if (command.isConsoleCommand())
        return runConsoleCommand(argc, argv, command);
    return runDesktop(argc, argv, command);
}
