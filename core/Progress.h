#pragma once
// What a long command needs from the window's progress bar, and the chance to
// let pending window events run between its steps. The logic stays free of widgets.

namespace qb {

class Progress {
public:
    virtual ~Progress() = default;
    virtual int position() const = 0;
    virtual void setPosition(int position) = 0;
    virtual void setMaximum(int maximum) = 0;
    virtual void setTextVisible(bool visible) = 0;
    virtual void setVisible(bool visible) = 0;
    // Lets the window handle pending events (repaint, timer, device changes).
    virtual void processEvents() = 0;
};

// A progress that shows nothing: for tests and headless use.
class NullProgress : public Progress {
public:
    int position() const override { return m_position; }
    void setPosition(int position) override { m_position = position; }
    void setMaximum(int maximum) override { m_maximum = maximum; }
    void setTextVisible(bool) override {}
    void setVisible(bool) override {}
    void processEvents() override {}
    int maximum() const { return m_maximum; }

private:
    int m_position = 0;
    int m_maximum = 100;
};

} // namespace qb
