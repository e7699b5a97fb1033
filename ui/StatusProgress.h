#pragma once
// The long commands' view of the status bar's progress bar.
#include "core/Progress.h"

class QProgressBar;

namespace qb::ui {

class StatusProgress : public Progress {
  public:
    explicit StatusProgress(QProgressBar* bar) : m_bar(bar) {}

    int position() const override;
    void setPosition(int position) override;
    void setMaximum(int maximum) override;
    void setTextVisible(bool visible) override;
    void setVisible(bool visible) override;

  private:
    QProgressBar* m_bar;
};

} // namespace qb::ui
