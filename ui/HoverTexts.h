#pragma once
// The toolbar explains itself while the mouse is over it: each button puts a
// short text into the title label and a longer one into the message panel,
// and takes both away again on leaving; the toolbar's own background puts the
// program's name back into the title label.
#include <QHash>
#include <QObject>
#include <QString>
#include <functional>

class QWidget;

namespace qb::ui {

class HoverTexts : public QObject {
    Q_OBJECT
  public:
    using Show = std::function<void(const QString&)>;
    HoverTexts(QWidget* toolbar, Show title, Show panel);

    void addButton(QWidget* button, const QString& title, const QString& panel);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Texts {
        QString title;
        QString panel;
    };
    void enterBackground();

    QWidget* m_toolbar;
    Show m_title;
    Show m_panel;
    QHash<QObject*, Texts> m_buttons;
    bool m_onBackground = false;
};

} // namespace qb::ui
