#pragma once
// The toolbar's animated banner: a blue band naming the phone make and the
// program, swept by a soft highlight. It only repaints itself while visible.
#include <QTimer>
#include <QWidget>

namespace qb::ui {

class AnimatedBanner : public QWidget {
    Q_OBJECT
  public:
    explicit AnimatedBanner(QWidget* parent = nullptr);
    QSize sizeHint() const override { return {248, 46}; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void advance();

    QTimer m_timer;
    int m_phase = 0; // position of the highlight, 0 .. period
};

} // namespace qb::ui
