#pragma once
// A toolbar button that runs a command's action and follows its state, but
// shows a face of its own: the large picture and the longer hint of the
// toolbar, where the menu shows the same action's small icon and caption.
// setDefaultAction() alone would copy the menu's face onto the button at
// every change of the action.
#include <QIcon>
#include <QString>
#include <QToolButton>

namespace qb::ui {

class CommandButton : public QToolButton {
    Q_OBJECT
  public:
    CommandButton(QAction* command, const QIcon& picture, const QString& hint,
                  QWidget* parent = nullptr);

  protected:
    void actionEvent(QActionEvent* event) override;

  private:
    void showOwnFace();

    QIcon m_picture;
    QString m_hint;
};

} // namespace qb::ui
