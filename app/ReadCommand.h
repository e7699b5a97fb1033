#pragma once
// `quillbox --read`: the phone read into the current directory's archive,
// without a window, by the controller the read button runs: the same
// dialogue, the same files, the same merge, under the same archive lock.
#include <QByteArray>

// Exit statuses of the read, besides 0 (done, also for a phone without
// messages): 1 the phone or a file failed, 2 the command line does not say
// which phone (several found) or names no device, 3 no phone found.
// SIGINT, SIGTERM and SIGHUP stop the read with nothing written and end the
// process as the signal does.
constexpr int ReadFailed = 1;
constexpr int ReadUsageError = 2;
constexpr int NoPhoneFound = 3;

// Reads the phone at `port` (a device path as the system gave it; empty: the
// one phone found) into the current directory's archive.
int readPhoneCommand(const QByteArray& port);
