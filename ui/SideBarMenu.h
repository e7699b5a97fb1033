#pragma once
// A drop-down menu with a vertical band on its right edge carrying the phone
// make, as the program's menus have always looked.
#include <QMenu>

namespace qb::ui {

class SideBarMenu : public QMenu {
    Q_OBJECT
  public:
    static constexpr int BarWidth = 20;
    static inline const QString Caption = QStringLiteral("Motorola");

    SideBarMenu(const QString& title, QWidget* parent);
    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    static QFont captionFont();
};

} // namespace qb::ui
