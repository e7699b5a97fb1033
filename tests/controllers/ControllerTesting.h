#pragma once
// What the controller tests share: an event loop, message boxes that are
// recorded and answered at once, a job that ends when the test says, and
// archive folders from file text.
#include "archive/ArchiveFiles.h"
#include "controllers/UserDialogs.h"
#include "core/Job.h"
#include "tests/support/JobRun.h"

#include <QStringList>
#include <QTest>
#include <string>
#include <vector>

namespace qb::test {

class RecordedDialogs : public UserDialogs {
  public:
    void inform(const QString& text) override { texts << text; }
    void tell(const QString& text) override { texts << text; }
    void fail(const QString& text) override { texts << text; }
    void ask(const QString& question, std::function<void(bool)> answered) override {
        questions << question;
        answered(yes);
    }
    QStringList texts;
    QStringList questions;
    bool yes = true;
};

// A job that runs until the test ends it, or until it is cancelled.
class HeldJob : public Job {
  public:
    explicit HeldJob(bool* destroyed = nullptr) : m_destroyed(destroyed) {}
    ~HeldJob() override {
        if (m_destroyed)
            *m_destroyed = true;
    }
    void start() override { started = true; }
    void cancel() override {
        cancelled = true;
        finishFromEventLoop();
    }
    void end() { finishFromEventLoop(); }
    bool started = false;
    bool cancelled = false;

  private:
    bool* m_destroyed;
};

// Sent messages: texts and numbers, one record each, as Outbox.msg keeps them.
inline std::string sentFile(const std::vector<std::pair<std::string, std::string>>& messages) {
    std::string file;
    int index = 1;
    for (const auto& [text, number] : messages) {
        const std::string k = std::to_string(index++);
        file += text + "\r\n " + k + "\r\n+MMGL: " + k + ", \"STO SENT\", \"" + number + "\"\r\n";
    }
    return file;
}

inline ArchiveFolder sentFolder(const std::vector<std::pair<std::string, std::string>>& messages) {
    return ArchiveFolder::fromContent(FolderKind::Outbox, sentFile(messages));
}

inline bool waitFor(const std::function<bool()>& condition) {
    return QTest::qWaitFor(condition, 5000);
}

} // namespace qb::test
