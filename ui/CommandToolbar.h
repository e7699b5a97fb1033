#pragma once
// The toolbar: the five command buttons, the banner and the two colour
// pickers. Each button runs its command's action, the menu's own, and is
// enabled with it. Hovering a button tells what it does, by the two hint signals.
#include "ui/GradientPanel.h"

class QAction;
class QLineEdit;
class QToolButton;

namespace qb::ui {

class ColourPicker;

class CommandToolbar : public GradientPanel {
    Q_OBJECT
  public:
    // The actions of the five buttons, left to right.
    struct Commands {
        QAction* connect;
        QAction* read;
        QAction* exportSelected;
        QAction* exportAll;
        QAction* import;
    };
    explicit CommandToolbar(const Commands& commands, QWidget* parent = nullptr);

    ColourPicker* backgroundColourPicker() const { return m_backgroundColourPicker; }
    ColourPicker* textColourPicker() const { return m_textColourPicker; }
    // Search as you type, between the buttons and the banner.
    QLineEdit* searchField() const { return m_searchField; }

  signals:
    // The texts for the title strip and the message panel while the mouse is over the bar.
    void titleHint(const QString& text);
    void panelHint(const QString& text);

  private:
    QToolButton* addButton(QAction* command, const char* name, int x, const QString& hint,
                           const QIcon& picture);
    QWidget* buildColourPanel();
    void installHoverTexts();

    QToolButton* m_connectButton;
    QToolButton* m_readButton;
    QToolButton* m_exportSelectedButton;
    QToolButton* m_exportAllButton;
    QToolButton* m_importButton;
    QLineEdit* m_searchField = nullptr;
    ColourPicker* m_backgroundColourPicker = nullptr;
    ColourPicker* m_textColourPicker = nullptr;
};

} // namespace qb::ui
