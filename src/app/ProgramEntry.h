#pragma once

struct CommandLine;

// Commands that run without windows (--help, --init-database, a bad command line).
int runConsoleCommand(int argc, char** argv, const CommandLine& command);
// The program with its windows.
int runDesktop(int argc, char** argv, const CommandLine& command);
