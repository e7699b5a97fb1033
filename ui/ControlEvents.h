#pragma once
// Mouse clicks and key presses of a view as signals, so the window can keep a
// handler per control event without subclassing the views. A key press that a
// handler accepts is not passed on to the view.
#include <QObject>

class QAbstractScrollArea;
class QKeyEvent;

namespace qb::ui {

class ControlEvents : public QObject {
    Q_OBJECT
  public:
    // Watches `view` (keys) and its viewport (clicks); owned by the view.
    static ControlEvents* watch(QAbstractScrollArea* view);

  signals:
    void clicked(); // left button released over the view's contents, after the view saw it
    void keyPressed(QKeyEvent* event);
    void keyReleased(QKeyEvent* event);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    using QObject::QObject;
    QObject* m_viewport = nullptr;
};

} // namespace qb::ui
