#pragma once

#include <QWidget>

namespace quorvane {

class UnitSelectors;

// The water/steam tab. The calculator itself comes with the Calvix and Dornel bindings; until
// then the tab holds its formulation choice and its unit selectors (cboUnits 19 to 30), so the
// unit set reaches them, and says that the calculator is not available yet.
class WaterTab : public QWidget {
    Q_OBJECT
public:
    WaterTab(UnitSelectors& selectors, QWidget* parent = nullptr);
};

} // namespace quorvane
