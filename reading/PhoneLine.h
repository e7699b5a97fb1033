#pragma once
// The AT dialogue's hold on the window's current port. The phone can be
// unplugged whenever the window handles events, and the watcher then destroys
// its port, so the port is fetched anew before every use and never kept.
#include "phonelink/AtPort.h"

#include <functional>
#include <initializer_list>
#include <optional>
#include <string>

namespace qb {

// The window's current port, or nullptr once the phone was unplugged.
using PortSource = std::function<AtPort*()>;

// Why the dialogue lost its phone: the user is told different things for each.
enum class LineLoss {
    None,
    Vanished, // unplugged, or the port went dead
    Busy,     // another program took the port when it was re-opened
    Refused,  // the re-open was not permitted
    Stalled,  // the phone stopped taking commands while the line stayed up
};

class PhoneLine {
public:
    explicit PhoneLine(PortSource source);

    // Close and Open again; false, with the reason, when the port is not
    // usable afterwards.
    bool reopen();
    // Each returns false / none once the port is lost; after that the port
    // is never touched again.
    bool send(const std::string& command);
    std::optional<std::string> reply();
    // Several commands, then one reply for all of them.
    std::optional<std::string> exchange(std::initializer_list<std::string> commands);

    bool vanished() const { return m_loss != LineLoss::None; }
    LineLoss loss() const { return m_loss; }

private:
    AtPort* usablePort();

    PortSource m_source;
    LineLoss m_loss = LineLoss::None;
    // Commands sent since the last reply: the reply is whole once it holds
    // that many final result codes.
    int m_unanswered = 0;
};

} // namespace qb
