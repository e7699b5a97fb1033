#pragma once
// The toolbar: the five command buttons, the banner and the two colour
// pickers. Hovering a button tells what it does, by the two hint signals.
#include "ui/GradientPanel.h"

class QToolButton;

namespace qb::ui {

class ColourPicker;

class CommandToolbar : public GradientPanel {
    Q_OBJECT
  public:
    explicit CommandToolbar(QWidget* parent = nullptr);

    QToolButton* connectButton() const { return m_connectButton; }
    QToolButton* readButton() const { return m_readButton; }
    QToolButton* exportSelectedButton() const { return m_exportSelectedButton; }
    QToolButton* exportAllButton() const { return m_exportAllButton; }
    QToolButton* importButton() const { return m_importButton; }
    ColourPicker* backgroundColourPicker() const { return m_backgroundColourPicker; }
    ColourPicker* textColourPicker() const { return m_textColourPicker; }

  signals:
    // The texts for the title strip and the message panel while the mouse is over the bar.
    void titleHint(const QString& text);
    void panelHint(const QString& text);

  private:
    QToolButton* addButton(const char* name, int x, const QString& hint, const QIcon& picture);
    QWidget* buildColourPanel();
    void installHoverTexts();

    QToolButton* m_connectButton;
    QToolButton* m_readButton;
    QToolButton* m_exportSelectedButton;
    QToolButton* m_exportAllButton;
    QToolButton* m_importButton;
    ColourPicker* m_backgroundColourPicker = nullptr;
    ColourPicker* m_textColourPicker = nullptr;
};

} // namespace qb::ui
