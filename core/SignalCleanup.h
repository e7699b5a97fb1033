#pragma once
// Files being written live unnamed where the system allows, so that even a
// killed process leaves nothing behind. Where a name cannot be avoided (a file
// system without unnamed files, the moment two files are exchanged), the name
// is registered here, and SIGINT, SIGTERM and SIGHUP remove every registered
// name before the process ends as the signal would have ended it.
#include <QByteArray>
#include <csignal>

namespace qb {

// Installs the handlers, once; the command line and the window both do.
void removeStagedFilesOnSignals();

// A staged file's name, registered for as long as this lives.
class StagedName {
  public:
    explicit StagedName(const QByteArray& path);
    ~StagedName();
    StagedName(const StagedName&) = delete;
    StagedName& operator=(const StagedName&) = delete;

  private:
    int m_slot = -1;
};

// Holds the three signals back in this thread, and makes a handler running
// in another one wait (a second at most), while a few system calls put staged
// files in place: a pair of exchanges is never left half done.
class SignalsDeferred {
  public:
    SignalsDeferred();
    ~SignalsDeferred();
    SignalsDeferred(const SignalsDeferred&) = delete;
    SignalsDeferred& operator=(const SignalsDeferred&) = delete;

  private:
    sigset_t m_previous; // the thread's signal mask before
};

} // namespace qb
