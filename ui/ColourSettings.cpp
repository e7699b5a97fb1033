#include "ui/ColourSettings.h"

#include "models/SettingsStore.h"
#include "ui/ColourPicker.h"
#include "ui/MessageViewer.h"

#include <QApplication>
#include <QWidget>

namespace qb::ui {
namespace {

void setRole(QWidget* target, QPalette::ColorRole role, const QColor& colour) {
    QPalette colours = target->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        colours.setColor(group, role, colour);
    target->setPalette(colours);
}

std::optional<ColourValue> storedColour(const SettingsStore& store, const SettingKey& key) {
    const std::optional<QString> text = store.text(key);
    if (!text)
        return std::nullopt;
    return parseColourText(*text);
}

QColor resolved(ColourValue colour, QPalette::ColorRole defaultRole) {
    const QPalette desktop = QApplication::palette();
    return resolveColour(colour, desktop, desktop.color(defaultRole));
}

} // namespace

ColourSettings::ColourSettings(SettingsStore& store, ColourTargets targets,
                               ColourPicker* backgroundPicker, ColourPicker* textPicker,
                               QObject* parent)
    : QObject(parent), m_store(store), m_targets(targets), m_backgroundPicker(backgroundPicker),
      m_textPicker(textPicker) {
    applyBackground(Colour::Lime);
    applyText(Colour::WindowText);
    setRole(m_targets.viewer, QPalette::Text, Qt::black);
    connect(m_backgroundPicker, &ColourPicker::colourPicked, this, &ColourSettings::pickBackground);
    connect(m_textPicker, &ColourPicker::colourPicked, this, &ColourSettings::pickText);
}

void ColourSettings::applyBackground(ColourValue colour) {
    m_background = colour;
    const QColor paint = resolved(colour, QPalette::Base);
    for (QWidget* target :
         {m_targets.tree, m_targets.list, static_cast<QWidget*>(m_targets.viewer)})
        setRole(target, QPalette::Base, paint); // the viewer's margin shades towards its Base
}

void ColourSettings::applyText(ColourValue colour) {
    m_text = colour;
    const QColor paint = resolved(colour, QPalette::Text);
    for (QWidget* target :
         {m_targets.tree, m_targets.list, static_cast<QWidget*>(m_targets.viewer)})
        setRole(target, QPalette::Text, paint);
    m_targets.viewer->setMarginInk(paint);
}

void ColourSettings::applyStoredColours() {
    if (const auto background = storedColour(m_store, Setting::Background))
        applyBackground(*background);
    if (const auto text = storedColour(m_store, Setting::Text))
        applyText(*text);
    m_backgroundPicker->setColour(m_background);
    m_textPicker->setColour(m_text);
}

void ColourSettings::pickBackground(ColourValue colour) {
    applyBackground(colour);
    // Written at once; a store that cannot be written still leaves the colour for this run.
    m_store.setText(Setting::Background, colourText(colour));
}

void ColourSettings::pickText(ColourValue colour) {
    applyText(colour);
    m_store.setText(Setting::Text, colourText(colour));
}

} // namespace qb::ui
