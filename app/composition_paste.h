#pragma once

// Amounts pasted into the composition grid from a spreadsheet: either a column of amounts,
// filled in from the current row down, or rows of name and amount, each amount going to the
// component of that name wherever it stands in the grid. Headings are passed over; cells that
// cannot be used are counted and reported, the others are stored.

#include "app/main_state.h"

#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace quorvane {

class CompositionTab;

struct CompositionPaste {
    std::vector<std::pair<int, float>> amounts; // component index, entered fraction
    int refused = 0; // not a number, a name not in the mixture, or below the last component
};

// Reads pasted text against the mixture's names; percent amounts are divided by 100.
CompositionPaste ReadCompositionPaste(const QString& text, const QStringList& names, int firstRow,
                                      bool percent);

// Stores the pasted amounts in the mixture, sets the recalculation flag through the tab's
// inputChanged, redisplays the grid and says what was left out.
void PasteIntoComposition(MainState& state, CompositionTab& tab, int currentRow,
                          const QString& text);

} // namespace quorvane
