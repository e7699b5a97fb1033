#pragma once
// A view's completed left clicks and its key releases as signals: the window
// acts on a click once the view has moved its selection, and on the release of
// an arrow key once the key is no longer held down.
#include <QObject>

class QAbstractScrollArea;
class QKeyEvent;

namespace qb::ui {

class ClickAndKeySignals : public QObject {
    Q_OBJECT
  public:
    // Watches `view` (keys) and its viewport (clicks); owned by the view.
    static ClickAndKeySignals* watch(QAbstractScrollArea* view);

  signals:
    void clicked(); // left button released over the view's contents, after the view saw it
    void keyReleased(QKeyEvent* event);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    using QObject::QObject;
    QObject* m_viewport = nullptr;
};

} // namespace qb::ui
