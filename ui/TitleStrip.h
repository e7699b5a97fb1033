#pragma once
// The strip under the menu that names the program, or the toolbar button
// under the mouse.
#include "ui/GradientPanel.h"

class QLabel;

namespace qb::ui {

class TitleStrip : public GradientPanel {
    Q_OBJECT
  public:
    explicit TitleStrip(QWidget* parent = nullptr);
    void setTitle(const QString& title);

  private:
    QLabel* m_titleLabel;
};

} // namespace qb::ui
