#pragma once
// The phone read against a scripted Motorola phone: a fresh working
// directory, the read result and phonebook it works on, and what it sent.
#include "reading/PhoneReadJob.h"

#include "ScriptedPhone.h"

#include <QDir>
#include <QTemporaryDir>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace qb::test {

using Kind = ReadOutcome::Kind;
using Commands = std::vector<std::string>;

inline const std::string Echo = "at+mmgl=\"ALL\"";
inline const std::string Unread3 = "+MMGL: 3, \"REC UNREAD\", \"+79161234567\"";
inline const std::string Read3 = "+MMGL: 3, \"REC READ\", \"+79161234567\"";
inline const std::string Read14 = "+MMGL: 14, \"REC READ\", \"+4123456789132\"";
inline const std::string Sent12 = "+MMGL: 12, \"STO SENT\", \"+79160000001\"";
inline const std::string Unsent7 = "+MMGL: 7, \"STO UNSENT\", \"+79160000003\"";

inline std::string listing(const std::vector<std::string>& lines) {
    std::string reply;
    for (const std::string& line : lines)
        reply += line + "\r\n";
    return reply + "OK\r\n";
}

class PhoneReadTest : public ::testing::Test {
  protected:
    void SetUp() override {
        phone.answer("AT+CPBR=?", "+CPBR: (1-250),50,14,,,,40,20\r\nOK\r\n");
        phone.answer("at+cpbr=1,250", "OK\r\n");
    }

    ReadOutcome read() {
        phone.sent.clear();
        finalCodesWanted.clear();
        PhoneReadJob job({plugged ? &phone : nullptr, result, phonebook, dir.path(), limits});
        ProgressLog log(job);
        if (cancelAt.empty())
            phone.onSent = nullptr;
        else
            phone.onSent = [&](const std::string& command) {
                if (command == cancelAt)
                    job.cancel();
            };
        EXPECT_TRUE(runToEnd(job, &finalCodesWanted));
        progress = log.last;
        maximums = log.maximums;
        return take(job.outcome());
    }

    // What the window does with the outcome: its read and phonebook become the state.
    ReadOutcome take(const ReadOutcome& outcome) {
        if (outcome.read)
            result = *outcome.read;
        if (outcome.phonebook)
            phonebook = *outcome.phonebook;
        return outcome;
    }

    std::string file(const char* name) const {
        std::ifstream in(QDir(dir.path()).filePath(name).toStdString(), std::ios::binary);
        if (!in)
            return "<missing>";
        std::stringstream content;
        content << in.rdbuf();
        return content.str();
    }

    bool noArchiveFiles() const { return QDir(dir.path()).entryList(QDir::Files).isEmpty(); }

    QTemporaryDir dir;
    ScriptedPhone phone;
    bool plugged = true;
    std::string cancelAt;   // the read is cancelled as this command goes out
    ProgressState progress; // the bar as the read left it
    std::vector<int> maximums;
    std::vector<int> finalCodesWanted;
    DialogueLimits limits = quickLimits();
    ReadResult result;
    Phonebook phonebook;
};

inline const Commands SetUpAndListing = {"AT", "AT+CMGF=1", "AT+CSCS=UCS2", "AT+CPBS=\"MT\"", Echo};
inline const Commands PhonebookCommands = {"AT+CPBS=\"MT\"", "AT+CPBR=?", "AT+CPBR=?",
                                           "at+cpbr=1,250"};

inline Commands joined(Commands a, const Commands& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace qb::test
