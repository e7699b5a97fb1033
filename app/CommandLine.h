#pragma once
// What Quillbox does when started with options: help, version, or the export
// for a smartphone, all without a window.
#include <QStringList>

#include <optional>

// The exit status when the command line asked for work without the window;
// none when the window is to start (no options of ours were given).
std::optional<int> runCommandLine(int& argc, char** argv);

// The arguments left once the window's application took its own (-platform,
// -style, ...): an exit status when any is unknown, none when the window may start.
std::optional<int> checkWindowArguments(const QStringList& arguments);
