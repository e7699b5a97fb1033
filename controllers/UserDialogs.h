#pragma once
// The message boxes the commands show. The window implements this with
// QMessageBox opened window-modally (no nested event loop: an answer arrives
// as a call of `answered`); the tests implement it by recording the texts and
// answering at once, so no test ever looks for a box on the screen.
#include <QString>
#include <functional>

namespace qb {

class UserDialogs {
  public:
    virtual ~UserDialogs() = default;
    // An information box with the information icon ("Утройство занято!", the lost phone).
    virtual void inform(const QString& text) = 0;
    // An information box without icon (the phone kept some messages).
    virtual void tell(const QString& text) = 0;
    // A failure: the critical box with the failure's text.
    virtual void fail(const QString& text) = 0;
    // A Yes/No question with No as the default; `answered(true)` on Yes.
    virtual void ask(const QString& question, std::function<void(bool)> answered) = 0;
};

} // namespace qb
