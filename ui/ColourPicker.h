#pragma once
// A toolbar colour picker: the default colour, the basic colours, the
// desktop's system colours and any other colour from the colour dialog.
// Only the user's choice is announced; setting the colour from the program
// is silent, so showing the stored colour never writes it back.
#include "models/ColourText.h"

#include <QComboBox>
#include <functional>
#include <optional>

namespace qb::ui {

class ColourPicker : public QComboBox {
    Q_OBJECT
  public:
    // Asks for a colour of one's own; none when the user cancels.
    using CustomColourSource = std::function<std::optional<QColor>(const QColor& current)>;

    ColourPicker(ColourValue defaultColour, QWidget* parent = nullptr);

    ColourValue colour() const;
    void setColour(ColourValue colour);
    // The colour dialog unless replaced.
    void setCustomColourSource(CustomColourSource source) { m_customSource = std::move(source); }
    int customEntry() const { return count() - 1; }

  signals:
    void colourPicked(qb::ColourValue colour);

  private:
    void choose(int index);
    void addColour(ColourValue colour, const QString& caption);
    int entryOf(ColourValue colour) const;

    int m_lastIndex = 0;
    CustomColourSource m_customSource;
};

} // namespace qb::ui
