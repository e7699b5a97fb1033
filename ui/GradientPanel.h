#pragma once
// A flat panel in the toolbar colours, optionally edged at top and bottom by
// thin gradient lines (the title strip).
#include <QColor>
#include <QWidget>

namespace qb::ui {

class GradientPanel : public QWidget {
    Q_OBJECT
  public:
    enum class Edges { None, TopAndBottom };
    GradientPanel(Edges edges, QWidget* parent = nullptr);

    static QColor background() { return {245, 244, 235}; }
    static QColor ink() { return {0, 83, 208}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Edges m_edges;
};

} // namespace qb::ui
