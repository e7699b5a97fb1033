#pragma once
// Speaking on the standard streams without a window: what the command line
// prints, where a closed or full stream must not pass for success.
#include <QString>

#include <cstdio>

// Gives closed standard streams /dev/null, so that the next file opened
// cannot take their number, and remembers that stdout was closed.
void guardStandardStreams();

// Writes `text` and a line break; false, with errno set, when it could not
// be written (a closed or full stream).
bool say(std::FILE* stream, const QString& text);
// The same without the line break and at once, for a line that rewrites itself.
bool put(std::FILE* stream, const QString& text);
// Whether everything printed on stdout reached it (Qt prints help there).
bool stdoutWritten();
// "quillbox: " and `text` on standard error.
void complain(const QString& text);

// The system's words for errno.
QString systemReason();
