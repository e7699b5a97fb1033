#pragma once
// The two colour settings. The background colour paints the folder tree, the
// message list, the viewer and the end of the viewer's margin shading; the
// text colour paints the texts of the tree, the list and the viewer and the
// viewer's line numbers. A pick applies at once and is stored at once; the
// stored colours are applied when the window starts.
#include "models/ColourText.h"

#include <QObject>

class QWidget;

namespace qb {
class SettingsStore;
} // namespace qb

namespace qb::ui {

class ColourPicker;
class MessageViewer;

struct ColourTargets {
    QWidget* tree;
    QWidget* list;
    MessageViewer* viewer;
};

class ColourSettings : public QObject {
    Q_OBJECT
  public:
    // Paints the targets in the built-in colours: lime backgrounds, the
    // desktop's window text in tree, list and margin, black in the viewer.
    ColourSettings(SettingsStore& store, ColourTargets targets, ColourPicker* backgroundPicker,
                   ColourPicker* textPicker, QObject* parent = nullptr);

    // Stored colours that cannot be read leave the built-in ones in place.
    void applyStoredColours();
    void pickBackground(ColourValue colour);
    void pickText(ColourValue colour);

  private:
    void applyBackground(ColourValue colour);
    void applyText(ColourValue colour);

    SettingsStore& m_store;
    ColourTargets m_targets;
    ColourPicker* m_backgroundPicker;
    ColourPicker* m_textPicker;
    ColourValue m_background = Colour::Lime;
    ColourValue m_text = Colour::WindowText;
};

} // namespace qb::ui
