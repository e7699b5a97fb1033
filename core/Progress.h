#pragma once
// What a long command tells the progress bar. The logic writes to this
// interface; the window sees the same state through ProgressSignal's signal,
// so no command ever touches a widget or waits for the window.
#include <QMetaType>

namespace qb {

struct ProgressState {
    int position = 0;
    int maximum = 100;
    bool textVisible = true;
    bool visible = false;
    bool operator==(const ProgressState&) const = default;
};

class Progress {
  public:
    virtual ~Progress() = default;
    virtual int position() const = 0;
    virtual void setPosition(int position) = 0;
    virtual void setMaximum(int maximum) = 0;
    virtual void setTextVisible(bool visible) = 0;
    virtual void setVisible(bool visible) = 0;
};

// A progress that only remembers: for tests and the command line.
class NullProgress : public Progress {
  public:
    int position() const override { return m_state.position; }
    void setPosition(int position) override { m_state.position = position; }
    void setMaximum(int maximum) override { m_state.maximum = maximum; }
    void setTextVisible(bool visible) override { m_state.textVisible = visible; }
    void setVisible(bool visible) override { m_state.visible = visible; }
    int maximum() const { return m_state.maximum; }
    const ProgressState& state() const { return m_state; }

  protected:
    ProgressState m_state;
};

} // namespace qb

Q_DECLARE_METATYPE(qb::ProgressState)
